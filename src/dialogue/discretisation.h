#pragma once
// The domain extents and the grid lines: S (extents), XX / YY (equidistant
// lines over one range, merged into the lines already there), HP and HA
// (homogeneous grid by point count or by spacing). Each dialogue returns to the
// DISKRET prompt; a failed number reading ends it at once without a message.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// Tolerances: the range check uses single-precision 1e-5 widened to double,
// the merge the double 1e-6.
inline constexpr double kRangeTolerance = static_cast<double>(1e-5f);
inline constexpr double kMergeTolerance = 1e-6;
inline constexpr double kSpacingMinFactor = static_cast<double>(0.01f);
inline constexpr double kSpacingMinOffset = static_cast<double>(1e-10f);

// The lines of one direction with their extents: x with nx, Xb, Xe or y alike.
struct AxisLines {
  char name;  // 'X' or 'Y'
  int32_t& count;
  std::array<double, kMaxLines + 1>& lines;  // [1..count]
  double& begin;
  double& end;
};
AxisLines x_axis(StructureModel& model);
AxisLines y_axis(StructureModel& model);

// Moves the outer lines to new extents: a new line at a moved-out edge (or the
// outer line replaced when the grid is full), lines beyond a moved-in edge
// removed. When fewer than two lines would remain, the direction falls back to
// the two lines at the new extents.
void fit_lines_to_extents(AxisLines axis);

// The lines after merging n equidistant lines from `first` to `last`, or
// nullopt when the result would exceed the capacity.
std::optional<std::vector<double>> merge_equidistant_lines(const AxisLines& axis, double first, double last, int n);

void edit_extents(Console& console, StructureModel& model);                     // S
void edit_axis_lines(Console& console, StructureModel& model, AxisLines axis);  // XX, YY
void homogeneous_by_count(Console& console, StructureModel& model);             // HP
void homogeneous_by_spacing(Console& console, StructureModel& model);           // HA

}  // namespace tambri
