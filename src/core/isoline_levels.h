#pragma once
// The numbers an isoline picture starts from: the plotted value of every
// node, its range over the grid, the distance between automatic levels, the
// levels themselves and the tolerance of the crossing tests. Levels are
// rounded to what their 1PE8.1 label shows, so the line drawn is the line
// labelled. Prints and draws nothing.
#include <array>

#include "core/field_arrays.h"
#include "core/node_quantity.h"
#include "core/picture_values.h"
#include "model/structure_model.h"

namespace tambri {

inline constexpr int kMaxIsolineLevels = 11;
inline constexpr double kEqualValuesSpan = 1.0E-20;  // a range this small has no levels
inline constexpr double kLevelStepFraction = 0.1;    // automatic step: a tenth of the range
inline constexpr double kStepFloorFactor = 1.0E-6;   // the step floor follows |max| * 1e-6
inline constexpr double kStepFloorFraction = 0.1;    // ... and is a tenth of its power of ten
inline constexpr double kZeroLevel = 1.0E-15;        // levels this close to 0 are 0
inline constexpr double kToleranceFactor = 1.0E-5;   // tolerance: step * 1e-5, at most 1e-5

// v(k) = picture_value(quantity, k, logarithmic) for the nodes 1..nx*ny.
void isoline_values(const Grid& grid, const NodeQuantity& quantity, bool logarithmic, NodeArray& v);

// Smallest and largest finite value of v(1..nodes).
ValueRange finite_range(const NodeArray& v, int nodes);

// Whether the range leaves nothing to draw: no finite value, or
// |max - min| <= 1e-20.
bool all_values_equal(const ValueRange& range);

// The value as its 1PE8.1 text reads back: two significant digits. A value
// the field cannot show (not finite) comes back unchanged.
double rounded_to_label(double v);

// Distance of the automatic levels: a tenth of max - min, at least
// 0.1 * 10^n with n = log10(|max * 1e-6|) truncated toward zero (no floor
// when n < 0 or |max| * 1e-6 has no finite logarithm), rounded to its label.
double isoline_step(double min, double max);

// Levels in the order they are drawn; at[1..count].
struct IsolineLevels {
  int count = 0;
  std::array<double, kMaxIsolineLevels + 1> at{};
};

// Eleven levels descending from max by `step`: L(1) = max rounded, then
// L(k + 1) = L(k) - step, set to exactly 0 when its magnitude is at most
// 1e-15, then rounded.
IsolineLevels automatic_levels(double max, double step);

// min(step * 1e-5, 1e-5), for every crossing test of the picture.
double isoline_tolerance(double step);

}  // namespace tambri
