#include "core/isoline_contours.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tambri {
namespace {

// Corners and edges in their order round the element.
enum Corner { kA = 0, kB = 1, kC = 2, kD = 3 };

constexpr double kBelowFraction = 0.25;  // a corner is below at less than -tol / 4
constexpr double kOneSidedMargin = 2.0;  // see find_crossings

struct Edge {
  Corner from, to;
};
// Edges 1..4 as P -> Q.
constexpr std::array<Edge, 5> kEdges = {{{kA, kA}, {kA, kB}, {kA, kC}, {kC, kD}, {kB, kD}}};

double value_at(const ElementCorners& c, Corner n) {
  switch (n) {
    case kA: return c.fa;
    case kB: return c.fb;
    case kC: return c.fc;
    case kD: return c.fd;
  }
  return c.fa;
}

PlanePoint corner_point(const ElementCorners& c, Corner n) {
  switch (n) {
    case kA: return {c.x1, c.y1};
    case kB: return {c.x2, c.y1};
    case kC: return {c.x1, c.y2};
    case kD: return {c.x2, c.y2};
  }
  return {c.x1, c.y1};
}

void add(FillPolygon& p, PlanePoint q) { p.points[static_cast<size_t>(p.count++)] = q; }

void set_polygon(FillPolygon& p, std::initializer_list<PlanePoint> points) {
  p.count = 0;
  for (const PlanePoint& q : points) add(p, q);
}

// Adds the polygon through `points` when one of `corners` (the corners it
// holds) is below.
void add_if_below(ElementFills& fills, std::initializer_list<PlanePoint> points, const ElementCorners& c,
                  std::initializer_list<Corner> corners, double tol) {
  for (Corner n : corners) {
    if (corner_below(value_at(c, n), tol)) {
      set_polygon(fills.polygons[static_cast<size_t>(fills.count++)], points);
      return;
    }
  }
}

}  // namespace

EdgeCrossings find_crossings(const ElementCorners& c, double tol) {
  EdgeCrossings e;
  // Most elements lie well to one side of the level. When every corner is
  // further from it than tol times the element's spread s, each edge has
  // |t| > tol or t - 1 > tol (|fP| / |fP - fQ| >= min |f| / s), so no edge
  // is crossed; twice the margin keeps rounding out of that.
  const double lo = std::min(std::min(c.fa, c.fb), std::min(c.fc, c.fd));
  const double hi = std::max(std::max(c.fa, c.fb), std::max(c.fc, c.fd));
  const double margin = kOneSidedMargin * tol * (hi - lo);
  if (lo > margin || hi < -margin) return e;
  for (int n = 1; n <= 4; ++n) {
    const Edge& edge = kEdges[static_cast<size_t>(n)];
    const double fp = value_at(c, edge.from), fq = value_at(c, edge.to);
    // Equal ends have no crossing point (and with a zero tolerance would
    // divide zero by zero).
    if (!(std::fabs(fp - fq) >= tol) || fp == fq) continue;
    const double t = fp / (fp - fq);
    if (!(t >= -tol && t <= 1 + tol)) continue;
    const PlanePoint p = corner_point(c, edge.from), q = corner_point(c, edge.to);
    e.crossed[static_cast<size_t>(n)] = true;
    e.at[static_cast<size_t>(n)] = {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
    ++e.count;
  }
  return e;
}

bool saddle_cuts_off_b_and_c(const ElementCorners& c) { return std::fabs(c.fb + c.fc) < std::fabs(c.fa + c.fd); }

bool corner_below(double f, double tol) { return f < -tol * kBelowFraction; }

void join_crossings(const EdgeCrossings& crossings, const ElementCorners& c, ElementLines& lines) {
  lines.count = 0;
  const auto& at = crossings.at;
  const auto segment = [&lines](const PlanePoint& p, const PlanePoint& q) {
    ContourPath& path = lines.paths[static_cast<size_t>(lines.count++)];
    path.count = 2;
    path.points[0] = p;
    path.points[1] = q;
  };
  if (crossings.count == 4) {
    if (saddle_cuts_off_b_and_c(c)) {
      segment(at[1], at[4]);
      segment(at[2], at[3]);
    } else {
      segment(at[1], at[2]);
      segment(at[3], at[4]);
    }
    return;
  }
  if (crossings.count < 2) return;
  ContourPath& path = lines.paths[0];
  path.count = 0;
  for (int n = 1; n <= 4; ++n) {
    if (crossings.crossed[static_cast<size_t>(n)])
      path.points[static_cast<size_t>(path.count++)] = at[static_cast<size_t>(n)];
  }
  lines.count = 1;
}

void fill_below(const EdgeCrossings& crossings, const ElementCorners& c, double tol, ElementFills& fills) {
  fills.count = 0;
  const PlanePoint a = corner_point(c, kA), b = corner_point(c, kB), cc = corner_point(c, kC), d = corner_point(c, kD);
  const auto& p = crossings.at;
  if (crossings.count == 0) {
    if (corner_below(c.fa, tol)) set_polygon(fills.polygons[static_cast<size_t>(fills.count++)], {a, b, d, cc});
    return;
  }
  if (crossings.count == 4) {
    if (saddle_cuts_off_b_and_c(c)) {
      if (corner_below(c.fb, tol)) {
        add_if_below(fills, {p[1], p[4], b}, c, {kB}, tol);
        add_if_below(fills, {p[2], p[3], cc}, c, {kC}, tol);
      } else {
        add_if_below(fills, {p[1], p[4], d, a}, c, {kA, kD}, tol);
        add_if_below(fills, {p[2], p[3], d, a}, c, {kA, kD}, tol);
      }
    } else if (corner_below(c.fa, tol)) {
      add_if_below(fills, {p[1], p[2], a}, c, {kA}, tol);
      add_if_below(fills, {p[3], p[4], d}, c, {kD}, tol);
    } else {
      add_if_below(fills, {p[1], p[2], cc, b}, c, {kB, kC}, tol);
      add_if_below(fills, {p[3], p[4], b, cc}, c, {kB, kC}, tol);
    }
    return;
  }
  // Round the element: a corner, then the crossing of the edge to the next one.
  struct Stop {
    Corner corner;
    int edge;
  };
  static constexpr std::array<Stop, 4> kRound = {{{kA, 1}, {kB, 4}, {kD, 3}, {kC, 2}}};
  FillPolygon& polygon = fills.polygons[0];
  polygon.count = 0;
  bool any_below = false;
  for (const Stop& s : kRound) {
    if (corner_below(value_at(c, s.corner), tol)) {
      add(polygon, corner_point(c, s.corner));
      any_below = true;
    }
    if (crossings.crossed[static_cast<size_t>(s.edge)]) add(polygon, p[static_cast<size_t>(s.edge)]);
  }
  if (any_below && polygon.count >= 3) fills.count = 1;
}

}  // namespace tambri
