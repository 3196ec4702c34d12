#pragma once
// Where one level runs through one grid element, and which part of the
// element lies below it. An element lies between x lines x1 < x2 and y lines
// y1 < y2 with the corners
//
//        y1    y2
//   x1   A --2-- C        edge 1: A-B (at y1)   edge 3: C-D (at y2)
//        |       |        edge 2: A-C (at x1)   edge 4: B-D (at x2)
//        1       3
//        |       |
//   x2   B --4-- D
//
// (drawn as the pictures show it: x down, y across). Values are given minus
// the level, so the level is 0. A value that is not finite crosses nothing
// and is never below. Prints and draws nothing.
#include <array>

namespace tambri {

// A point of the structure plane.
struct PlanePoint {
  double x = 0, y = 0;
};

struct ElementCorners {
  double fa = 0, fb = 0, fc = 0, fd = 0;  // corner values minus the level
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Edge n from P to Q is crossed when |fP - fQ| >= tol and
// t = fP / (fP - fQ) lies in [-tol, 1 + tol]; the crossing lies at the
// fraction t from P. at[n] and crossed[n] for n = 1..4.
struct EdgeCrossings {
  int count = 0;
  std::array<bool, 5> crossed{};
  std::array<PlanePoint, 5> at{};
};
EdgeCrossings find_crossings(const ElementCorners& c, double tol);

// With four crossings the level passes the element twice (a saddle). The
// diagonal with the larger |sum| stays connected: when |fB + fC| < |fA + fD|
// the segments cut off the corners B (edges 1-4) and C (edges 2-3),
// otherwise A (edges 1-2) and D (edges 3-4).
bool saddle_cuts_off_b_and_c(const ElementCorners& c);

// The isoline in an element: two segments in a saddle, otherwise one path
// through the crossed edges in the order 1, 2, 3, 4 (a segment, or three
// points when a corner lies on the level). Nothing for fewer than two
// crossings.
struct ContourPath {
  int count = 0;
  std::array<PlanePoint, 3> points{};
};
struct ElementLines {
  int count = 0;
  std::array<ContourPath, 2> paths{};
};
// `lines` is the caller's, reused from element to element.
void join_crossings(const EdgeCrossings& crossings, const ElementCorners& c, ElementLines& lines);

// A corner is below the level when its value is less than -tol / 4.
bool corner_below(double f, double tol);

// The part of the element below the level, as polygons to fill:
// - no crossing: the whole element (A, B, D, C) when A is below;
// - a saddle cut off at B and C: the triangles (P1, P4, B) and (P2, P3, C)
//   when B is below, otherwise the quadrilaterals (P1, P4, D, A) and
//   (P2, P3, D, A); cut off at A and D: the triangles (P1, P2, A) and
//   (P3, P4, D) when A is below, otherwise (P1, P2, C, B) and (P3, P4, B, C)
//   (Pn the crossing of edge n);
// - otherwise the crossings and the corners below, in their order round the
//   element (A, edge 1, B, edge 4, D, edge 3, C, edge 2): the triangle of a
//   cut-off corner, the rest of the element beside it, the side of a segment
//   from one side to the opposite one.
// A polygon without a corner below is not filled: a level through a corner
// or along an edge of an element that lies above it leaves it unfilled.
struct FillPolygon {
  int count = 0;
  std::array<PlanePoint, 8> points{};
};
struct ElementFills {
  int count = 0;
  std::array<FillPolygon, 2> polygons{};
};
// `fills` is the caller's, reused from element to element.
void fill_below(const EdgeCrossings& crossings, const ElementCorners& c, double tol, ElementFills& fills);

}  // namespace tambri
