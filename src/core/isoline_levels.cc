#include "core/isoline_levels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "text/fortran_format.h"

namespace tambri {
namespace {

// A 1PE8.1 field in the form strtod reads: Fortran leaves the "E" out of a
// three-digit exponent ("1.0-100"), so it is put back in front of the sign.
std::string readable_exponent(std::string text) {
  for (size_t n = 1; n < text.size(); ++n) {
    const char c = text[n];
    if ((c == '+' || c == '-') && std::isdigit(static_cast<unsigned char>(text[n - 1]))) {
      text.insert(n, 1, 'E');
      break;
    }
  }
  return text;
}

double power_of_ten(int n) {
  double p = 1;
  for (int m = 0; m < n; ++m) p *= 10;
  return p;
}

}  // namespace

void isoline_values(const Grid& grid, const NodeQuantity& quantity, bool logarithmic, NodeArray& v) {
  const int nodes = std::clamp(grid.nodes(), 0, kMaxNodes);
  for (int k = 1; k <= nodes; ++k) {
    v[static_cast<size_t>(k)] = picture_value(quantity, k, logarithmic);
  }
}

ValueRange finite_range(const NodeArray& v, int nodes) {
  ValueRange r;
  nodes = std::clamp(nodes, 0, kMaxNodes);
  for (int k = 1; k <= nodes; ++k) r.take(v[static_cast<size_t>(k)]);
  return r;
}

bool all_values_equal(const ValueRange& range) {
  return !range.any || !(std::fabs(range.max - range.min) > kEqualValuesSpan);
}

double rounded_to_label(double v) {
  const std::string text = readable_exponent(format_e(v, 8, 1));
  const char* start = text.c_str();
  char* end = nullptr;
  const double back = std::strtod(start, &end);
  return end == start ? v : back;
}

double isoline_step(double min, double max) {
  double step = (max - min) * kLevelStepFraction;
  const double n = std::trunc(std::log10(std::fabs(max * kStepFloorFactor)));
  // log10(0) is -infinity: no floor, as for any negative n. A finite max
  // gives n <= 302.
  if (std::isfinite(n) && n >= 0) {
    const double p = power_of_ten(static_cast<int>(n));
    if (step < kStepFloorFraction * p) step = kStepFloorFraction * p;
  }
  return rounded_to_label(step);
}

IsolineLevels automatic_levels(double max, double step) {
  IsolineLevels levels;
  levels.count = kMaxIsolineLevels;
  levels.at[1] = rounded_to_label(max);
  for (int k = 1; k < kMaxIsolineLevels; ++k) {
    double next = levels.at[static_cast<size_t>(k)] - step;
    if (std::fabs(next) <= kZeroLevel) next = 0;
    levels.at[static_cast<size_t>(k + 1)] = rounded_to_label(next);
  }
  return levels;
}

double isoline_tolerance(double step) { return std::min(step * kToleranceFactor, kToleranceFactor); }

}  // namespace tambri
