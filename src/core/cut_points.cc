#include "core/cut_points.h"

#include <algorithm>
#include <cmath>

#include "core/span_widening.h"

namespace tambri {
namespace {

enum class Band { Inside, Above, Below, Unknown };

Band band_of(double y) {
  if (!std::isfinite(y)) return Band::Unknown;
  if (y > kCutPageSize) return Band::Above;
  if (y < 0.0) return Band::Below;
  return Band::Inside;
}

}  // namespace

std::optional<int> cut_line(const GridLines& lines, int first, int last, double value) {
  if (first < 1 || last > kMaxLines || first > last) return std::nullopt;
  if (!(value >= lines[first] && value <= lines[last])) return std::nullopt;  // NaN fails too
  int n = first;
  while (n < last && lines[n + 1] <= value) ++n;
  return n;
}

void collect_cut_points(const Grid& grid, const NodeQuantity& quantity, CutAbscissa abscissa, int first, int last,
                        int line, bool logarithmic, CutPoints& points) {
  points.count = 0;
  const bool over_x = abscissa == CutAbscissa::X;
  const int along = over_x ? grid.nx : grid.ny;
  const int across = over_x ? grid.ny : grid.nx;
  if (first < 1 || last > along || first > last || line < 1 || line > across) return;
  const GridLines& coordinate = over_x ? grid.x : grid.y;
  for (int n = first; n <= last; ++n) {
    const int k = over_x ? grid.node(n, line) : grid.node(line, n);
    ++points.count;
    points.a[points.count] = coordinate[n];
    points.v[points.count] = logarithmic ? quantity.log_value(k, kCutLogOffset) : quantity.value(k);
  }
}

double widened_max(double min, double max) { return widened_max(min, max, kCutMinimumSpan); }

CutRange cut_range(const CutPoints& points) {
  const int count = std::min(points.count, kMaxLines);
  CutRange r;
  if (count > 0) {
    r.amin = points.a[1];
    r.amax = points.a[count];
  }
  bool any = false;
  for (int n = 1; n <= count; ++n) {
    const double v = points.v[n];
    if (!std::isfinite(v)) continue;
    r.vmin = any ? std::min(r.vmin, v) : v;
    r.vmax = any ? std::max(r.vmax, v) : v;
    any = true;
  }
  r.amax = widened_max(r.amin, r.amax);
  r.vmax = widened_max(r.vmin, r.vmax);
  return r;
}

PageScales page_scales(const CutRange& range) {
  return {kCutPageSize / (range.amax - range.amin), kCutPageSize / (range.vmax - range.vmin)};
}

void clip_to_band(const CutPoints& points, const CutRange& range, PenPath& path) {
  path.count = 0;
  const PageScales s = page_scales(range);
  const auto usable = [](double scale) { return std::isfinite(scale) && scale != 0.0; };
  if (!usable(s.sa) || !usable(s.sv)) return;

  const auto emit = [&path](double x, double y, int pen) { path.moves[path.count++] = {x, y, pen}; };
  const auto page_x = [&](double a) { return (a - range.amin) * s.sa; };
  const auto edge_of = [](Band b) { return b == Band::Above ? kCutPageSize : 0.0; };
  // The page abscissa where the segment from point p to point n crosses the
  // edge the outside one of them lies beyond.
  const auto crossing = [&](int p, int n, Band outside) {
    const double edge_value = outside == Band::Above ? range.vmax : range.vmin;
    const double dv = points.v[n] - points.v[p] + kCutCrossingOffset;
    double t = (edge_value - points.v[p]) / dv;
    // The added 1.0E-15 dominates a value difference of that size; keep the
    // crossing on the segment (also when 0/0 leaves no number at all).
    if (!(t >= 0.0)) t = 0.0;
    if (t > 1.0) t = 1.0;
    return page_x(points.a[p] + t * (points.a[n] - points.a[p]));
  };

  Band previous = Band::Unknown;
  const int count = std::min(points.count, kMaxLines);  // the moves' capacity
  for (int n = 1; n <= count; ++n) {
    const double x = page_x(points.a[n]);
    const double y = (points.v[n] - range.vmin) * s.sv;
    const Band band = std::isfinite(x) ? band_of(y) : Band::Unknown;
    if (band == Band::Unknown) {
      previous = band;
      continue;
    }
    if (previous == Band::Unknown) {
      // Start of the curve (or again after a point that could not be placed).
      emit(x, band == Band::Inside ? y : edge_of(band), kPenUp);
    } else if (band == Band::Inside) {
      if (previous != Band::Inside) emit(crossing(n - 1, n, previous), edge_of(previous), kPenDown);
      emit(x, y, kPenDown);
    } else if (previous == Band::Inside) {
      emit(crossing(n - 1, n, band), edge_of(band), kPenDown);
    }
    previous = band;
  }
}

}  // namespace tambri
