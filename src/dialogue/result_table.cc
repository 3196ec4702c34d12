#include "dialogue/result_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "core/assembly.h"
#include "dialogue/table_destination.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr int kLinesPerBlock = 6;
constexpr int kTitleWidth = 25;
// Start values of the running extremes.
constexpr double kExtremeStart = 1.0E35;

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

struct Extreme {
  double value;
  double x;
  double y;
};

std::string extreme_line(const char* label, const Extreme& e) {
  return std::string(label) + format_e10(e.value) + " bei x=" + format_e10(e.x) + " m  y=" + format_e10(e.y) + " m";
}

}  // namespace

LocalDateTime system_local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec};
}

double table_value(const StructureModel& model, const FieldArrays& arrays, int selector, int k) {
  const DerivedFields& d = arrays.derived;
  switch (selector) {
    case kTableOccupancy: return static_cast<double>(model.occupancy[k]);
    case kTableLinks: return d.strength_x[k];
    case kTableOben: return d.strength_y[k];
    case kTableMitte: return d.flux_x[k];
    case kTableUnten: return d.flux_y[k];
    case kTableRechts: return d.density[k];
    case kTablePotential: return arrays.solution.potential[k];
    case kTableRhs: return arrays.matrix.rhs[k];
    case kTableMaterial: return shown_material(model.problem, arrays.material.c[k]);
    case kTableMagnitudeFirst: return std::sqrt(d.strength_x[k] * d.strength_x[k] + d.strength_y[k] * d.strength_y[k]);
    case kTableMagnitudeSecond: return std::sqrt(d.flux_x[k] * d.flux_x[k] + d.flux_y[k] * d.flux_y[k]);
  }
  return 0.0;
}

void write_result_table(RecordSink& sink, const StructureModel& model, const FieldArrays& arrays, int selector,
                        std::string_view title, const LocalDateTime& when) {
  const Grid& grid = model.grid;
  sink.record(" *** TAMBRI ***" + blanks(13) + pad_to_width(title, kTitleWidth) + blanks(5) + format_i(when.day, 2) +
              "-" + format_i(when.month, 2) + "-" + format_i(when.year, 4) + blanks(3) + format_i(when.hour, 2) + ":" +
              format_i(when.minute, 2) + ":" + format_i(when.second, 2));

  // Positions start at the first node printed, so that they are defined even
  // when no value passes the start values (all values NaN, say).
  Extreme maximum{-kExtremeStart, grid.x[1], grid.y[1]};
  Extreme minimum{kExtremeStart, grid.x[1], grid.y[1]};
  for (int first = 1; first <= grid.ny; first += kLinesPerBlock) {
    const int last = std::min(first + kLinesPerBlock - 1, grid.ny);
    std::string numbers = blanks(7) + "y-Line" + blanks(5);
    std::string coordinates = blanks(8) + "(m)" + blanks(2);
    for (int jy = first; jy <= last; ++jy) {
      numbers += format_i(jy, 3) + blanks(8);
      coordinates += blanks(2) + format_e(grid.y[jy], 9, 2);
    }
    sink.record("");
    sink.record(numbers);
    sink.record(coordinates);
    sink.record(" x-Line");
    for (int i = 1; i <= grid.nx; ++i) {
      std::string row = " " + format_i(i, 3) + format_e(grid.x[i], 9, 2);
      for (int jy = first; jy <= last; ++jy) {
        const double value = table_value(model, arrays, selector, grid.node(i, jy));
        if (value > maximum.value) maximum = {value, grid.x[i], grid.y[jy]};
        if (value < minimum.value) minimum = {value, grid.x[i], grid.y[jy]};
        row += " " + format_e10(value);
      }
      sink.record(row);
    }
  }
  sink.record("");
  sink.record(extreme_line(" Maximum: ", maximum));
  sink.record("");
  sink.record(extreme_line(" Minimum: ", minimum));
}

void print_result_table(Console& console, const StructureModel& model, const FieldArrays& arrays, int selector,
                        std::string_view title, const Clock& clock) {
  const LocalDateTime when = clock ? clock() : system_local_time();
  if (std::unique_ptr<FileRecordSink> file = choose_table_destination(console, OverwriteRule::kAsk)) {
    write_result_table(*file, model, arrays, selector, title, when);
    // A failed write leaves the old file (or none) in place.
    if (!file->close()) console.message(" ### Schreibfehler ###");
  } else {
    write_result_table(console, model, arrays, selector, title, when);
  }
}

}  // namespace tambri
