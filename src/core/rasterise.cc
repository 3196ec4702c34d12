#include "core/rasterise.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "model/assignment.h"
#include "model/part_lists.h"

namespace tambri {
namespace {

// The single-precision 1.0E-6 widened to double: which nodes lie "on" an edge
// depends on its exact value. Absolute, in metres and square metres.
constexpr double kTolerance = static_cast<double>(1.0e-6F);

// The node value after applying a part's assignment code. A code that is no
// assignment (only a damaged file carries one) has no effect, so every digit
// stays a digit.
int32_t applied(int32_t value, int32_t code) {
  int m = occupancy_material(value);
  int p = occupancy_potential(value);
  int e = occupancy_excitation(value);
  if (code == kEmptyCode) return 0;
  if (code >= 0 && code <= 9) {
    m = code;
  } else if (code >= 10 && code <= 99) {
    p = code / 10;
    e = 0;
  } else if (code >= 100 && code <= 999) {
    e = code / 100;
    p = 0;
  }
  return 100 * e + 10 * p + m;
}

// Applies one part's code to the nodes it marks and counts them.
class Marker {
 public:
  Marker(StructureModel& model, int32_t code) : grid_(model.grid), occupancy_(model.occupancy), code_(code) {}
  void mark(int i, int j) {
    int32_t& value = occupancy_[static_cast<size_t>(grid_.node(i, j))];
    value = applied(value, code_);
    ++marked_;
  }
  bool marked_any() const { return marked_ > 0; }

 private:
  const Grid& grid_;
  std::array<int32_t, kMaxNodes + 1>& occupancy_;
  int32_t code_;
  int marked_ = 0;
};

// Index of the line nearest to v, the higher one on a tie; 0 when there is no
// line or v is not a finite coordinate.
int nearest_line(const std::array<double, kMaxLines + 1>& lines, int count, double v) {
  if (!std::isfinite(v)) return 0;
  int best = 0;
  double best_distance = std::numeric_limits<double>::infinity();
  for (int i = 1; i <= count; ++i) {
    const double d = std::fabs(lines[static_cast<size_t>(i)] - v);
    if (d <= best_distance) {
      best_distance = d;
      best = i;
    }
  }
  return best;
}

double distance(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

// Heron's rule; a negative product from rounding counts as area 0.
double heron_area(double a, double b, double c) {
  const double s = (a + b + c) * 0.5;
  const double product = s * (s - a) * (s - b) * (s - c);
  return product > 0.0 ? std::sqrt(product) : 0.0;
}

void mark(const Grid& g, const PointPart& p, Marker& marker) {
  const int i = nearest_line(g.x, g.nx, p.xp);
  const int j = nearest_line(g.y, g.ny, p.yp);
  if (i > 0 && j > 0) marker.mark(i, j);
}

void mark(const Grid& g, const RectanglePart& r, Marker& marker) {
  for (int j = 1; j <= g.ny; ++j) {
    const double y = g.y[static_cast<size_t>(j)];
    if (!(r.ylo - kTolerance <= y && y <= r.yru + kTolerance)) continue;
    for (int i = 1; i <= g.nx; ++i) {
      const double x = g.x[static_cast<size_t>(i)];
      if (r.xlo - kTolerance <= x && x <= r.xru + kTolerance) marker.mark(i, j);
    }
  }
}

void mark(const Grid& g, const CirclePart& c, Marker& marker) {
  const double reach = c.rad + kTolerance;
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      if (distance(g.x[static_cast<size_t>(i)], g.y[static_cast<size_t>(j)], c.xmi, c.ymi) < reach) {
        marker.mark(i, j);
      }
    }
  }
}

// A node belongs to the triangle when the three triangles it forms with the
// sides add up to the triangle's own area.
void mark(const Grid& g, const TrianglePart& t, Marker& marker) {
  const double s12 = distance(t.x1, t.y1, t.x2, t.y2);
  const double s23 = distance(t.x2, t.y2, t.x3, t.y3);
  const double s13 = distance(t.x1, t.y1, t.x3, t.y3);
  const double area = heron_area(s12, s23, s13);
  for (int j = 1; j <= g.ny; ++j) {
    const double y = g.y[static_cast<size_t>(j)];
    for (int i = 1; i <= g.nx; ++i) {
      const double x = g.x[static_cast<size_t>(i)];
      const double d1 = distance(x, y, t.x1, t.y1);
      const double d2 = distance(x, y, t.x2, t.y2);
      const double d3 = distance(x, y, t.x3, t.y3);
      const double sum = heron_area(d1, d2, s12) + heron_area(d2, d3, s23) + heron_area(d1, d3, s13);
      if (std::fabs(sum - area) <= kTolerance) marker.mark(i, j);
    }
  }
}

void mark_side(const Grid& g, int32_t side, Marker& marker) {
  if (g.nx == 0 || g.ny == 0) return;
  switch (side) {
    case kSideOben:
      for (int j = 1; j <= g.ny; ++j) marker.mark(1, j);
      break;
    case kSideUnten:
      for (int j = 1; j <= g.ny; ++j) marker.mark(g.nx, j);
      break;
    case kSideLinks:
      for (int i = 1; i <= g.nx; ++i) marker.mark(i, 1);
      break;
    case kSideRechts:
      for (int i = 1; i <= g.nx; ++i) marker.mark(i, g.ny);
      break;
  }
}

void mark(const Grid& g, const BorderPart& b, Marker& marker) {
  if (b.side != kSideGesamt) {
    mark_side(g, b.side, marker);
    return;
  }
  for (int32_t side : {kSideOben, kSideUnten, kSideLinks, kSideRechts}) mark_side(g, side, marker);
}

// Only the shapes with an extent can fall between the grid lines; the dialogue
// reports those that mark no node.
bool reported_when_uncovered(int32_t shape) {
  return shape == kShapeRectangle || shape == kShapeTriangle || shape == kShapeCircle;
}

// Entry n of a list, or none when the entry sequence names more parts than the
// list holds (only a damaged file can do that).
template <class List>
const auto* entry(const List& list, int n) {
  return n <= std::min<int>(list.count, List::kCapacity) ? &list.at[static_cast<size_t>(n)] : nullptr;
}

}  // namespace

std::vector<UncoveredPart> rasterise(StructureModel& model) {
  std::fill(model.occupancy.begin(), model.occupancy.end(), 0);
  std::vector<UncoveredPart> uncovered;
  const Grid& g = model.grid;
  // A grid beyond the capacity would index beyond the map; no dialogue makes one.
  if (g.nx < 0 || g.ny < 0 || g.nx > kMaxLines || g.ny > kMaxLines) return uncovered;

  std::array<int, kShapeBorder + 1> taken{};  // parts of each shape met so far, by shape code
  const int length = std::clamp<int>(model.sequence_length, 0, kMaxSequence);
  for (int k = 1; k <= length; ++k) {
    const int32_t shape = model.sequence[static_cast<size_t>(k)];
    visit_part_list(std::as_const(model), shape, [&](const auto& list) {
      const int number = ++taken[static_cast<size_t>(shape)];
      const auto* part = entry(list, number);
      if (!part) return;
      Marker marker(model, part->code);
      mark(g, *part, marker);
      if (reported_when_uncovered(shape) && !marker.marked_any()) uncovered.push_back({shape, number});
    });
  }
  return uncovered;
}

}  // namespace tambri
