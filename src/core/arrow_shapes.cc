#include "core/arrow_shapes.h"

#include <algorithm>
#include <cmath>

namespace tambri {
namespace {

constexpr int kThinningDivisor = 20;
constexpr double kLogScale = 1e10;  // 1e-10 of max is the shortest arrow
constexpr double kLogOffset = 1e-30;
constexpr double kLogFactor = static_cast<double>(0.1f);

// The cell along one direction: `step` intervals of the region's spacing,
// taken over the number of lines minus 2; a region of two lines takes its
// extent. None for a single line (or none at all).
std::optional<double> cell_along(const GridLines& lines, int first, int last, int step) {
  const int intervals = last - first;
  if (intervals < 1) return std::nullopt;
  const double extent = lines[last] - lines[first];
  if (intervals == 1) return extent;
  return step * extent / (intervals - 1);
}

bool finite(double v) { return std::isfinite(v); }

}  // namespace

ArrowThinning arrow_thinning(int i1, int i2, int j1, int j2) {
  return {(i2 - i1) / kThinningDivisor, (j2 - j1) / kThinningDivisor};
}

MagnitudeRange magnitude_range(const NodeArray& a, const NodeArray& b, int count) {
  MagnitudeRange range;
  for (int k = 1; k <= count; ++k) {
    const double v = std::sqrt(a[k] * a[k] + b[k] * b[k]);
    if (!finite(v)) continue;
    range.max = std::max(range.max, v);
    range.min = std::min(range.min, v);
  }
  return range;
}

ArrowScale arrow_scale(const Grid& grid, int i1, int i2, int j1, int j2, int sx, int sy, double min, double max,
                       bool logarithmic) {
  ArrowScale scale;
  const std::optional<double> cx = cell_along(grid.x, i1, i2, sx), cy = cell_along(grid.y, j1, j2, sy);
  scale.cx = cx.value_or(cy.value_or(0));
  scale.cy = cy.value_or(scale.cx);
  const double c = std::min(scale.cx, scale.cy);
  scale.s = kArrowCellFill * c / max;
  scale.max = max;
  scale.lo = min - kArrowFilterMargin;
  scale.hi = max + kArrowFilterMargin;
  scale.logarithmic = logarithmic;
  return scale;
}

double logarithmic_length_factor(double r) {
  return kLogFactor * std::log10(kLogScale * r + kLogOffset) / (r + kLogOffset);
}

std::optional<Arrow> arrow_at(const ArrowScale& scale, double x, double y, double a, double b) {
  const double s = scale.s;
  double u = s * a, w = s * b;
  double len = std::sqrt(u * u + w * w);
  const double f = scale.logarithmic ? logarithmic_length_factor(len / s / scale.max) : 1.0;
  len *= f;
  u *= f;
  w *= f;
  if (!(finite(len) && finite(u) && finite(w) && finite(x) && finite(y))) return std::nullopt;
  if (!(f * s * scale.lo <= len && len <= f * s * scale.hi)) return std::nullopt;

  Arrow arrow;
  arrow.node = {y, x};
  arrow.tip = {y + w, x + u};
  arrow.length = len;
  const double h = kHeadLength * len, q = kHeadHalfWidth * h;
  const ArrowPoint& t = arrow.tip;
  // A zero arrow (only a region without cells has one in the general case)
  // keeps its head on the tip.
  if (len == 0 || std::fabs(w) < kAxisTolerance * scale.cy) {
    const double back = a < 0 ? -h : h;
    arrow.head1 = {t.y - q, t.x - back};
    arrow.head2 = {t.y + q, t.x - back};
  } else if (std::fabs(u) < kAxisTolerance * scale.cx) {
    const double back = b < 0 ? -h : h;
    arrow.head1 = {t.y - back, t.x - q};
    arrow.head2 = {t.y - back, t.x + q};
  } else {
    // h back along the shaft, q across it on either side.
    const double along_y = w / len, along_x = u / len;
    const double base_y = t.y - h * along_y, base_x = t.x - h * along_x;
    arrow.head1 = {base_y - q * along_x, base_x + q * along_y};
    arrow.head2 = {base_y + q * along_x, base_x - q * along_y};
  }
  return arrow;
}

}  // namespace tambri
