#pragma once
// A node quantity printed as a table over the grid, on the console or into a
// text file the user names: header with title, date and time; the values in
// blocks of six y lines; the maximum and the minimum with their positions.
#include <functional>
#include <string_view>

#include "core/field_arrays.h"
#include "model/structure_model.h"
#include "text/console.h"
#include "text/record_sink.h"

namespace tambri {

// Table selectors: which node quantity a table shows.
inline constexpr int kTableOccupancy = 1;
// Selectors 2-6, 10 and 11 read the derived field quantities.
inline constexpr int kTableLinks = 2;   // Ex or Hx
inline constexpr int kTableOben = 3;    // Ey or Hy
inline constexpr int kTableMitte = 4;   // Dx, Sx or Bx
inline constexpr int kTableUnten = 5;   // Dy, Sy or By
inline constexpr int kTableRechts = 6;  // energy or loss-power density
inline constexpr int kTablePotential = 7;
inline constexpr int kTableRhs = 8;
inline constexpr int kTableMaterial = 9;          // c(k); in problem M the permeability 1/c(k)
inline constexpr int kTableMagnitudeFirst = 10;   // |E| or |H|
inline constexpr int kTableMagnitudeSecond = 11;  // |D|, |S| or |B|

struct LocalDateTime {
  int day = 1, month = 1, year = 1970;
  int hour = 0, minute = 0, second = 0;
};

using Clock = std::function<LocalDateTime()>;

// The current local date and time of the system.
LocalDateTime system_local_time();

// Value of the selected quantity at node k.
double table_value(const StructureModel& model, const FieldArrays& arrays, int selector, int k);

// Header, blocks and extremes; `title` is shown in 25 characters.
void write_result_table(RecordSink& sink, const StructureModel& model, const FieldArrays& arrays, int selector,
                        std::string_view title, const LocalDateTime& when);

// The whole command: reads the clock, asks for the destination (a file that
// exists is overwritten only after a question) and writes the table there.
void print_result_table(Console& console, const StructureModel& model, const FieldArrays& arrays, int selector,
                        std::string_view title, const Clock& clock);

}  // namespace tambri
