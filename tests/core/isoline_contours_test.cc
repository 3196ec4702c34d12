#include "core/isoline_contours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tambri {

bool operator==(const PlanePoint& a, const PlanePoint& b) { return a.x == b.x && a.y == b.y; }
void PrintTo(const PlanePoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

constexpr double kTol = 1.0E-5;
const double kNan = std::nan("");

using Points = std::vector<PlanePoint>;

// An element from x = 1 to 3 and y = 10 to 14: A (1, 10), B (3, 10),
// C (1, 14), D (3, 14).
ElementCorners element(double fa, double fb, double fc, double fd) { return {fa, fb, fc, fd, 1, 3, 10, 14}; }
const PlanePoint kA{1, 10}, kB{3, 10}, kC{1, 14}, kD{3, 14};

std::vector<Points> lines_of(const ElementCorners& c, double tol = kTol) {
  ElementLines lines;
  join_crossings(find_crossings(c, tol), c, lines);
  std::vector<Points> out;
  for (int n = 0; n < lines.count; ++n) {
    const ContourPath& p = lines.paths[static_cast<size_t>(n)];
    out.emplace_back(p.points.begin(), p.points.begin() + p.count);
  }
  return out;
}

std::vector<Points> fills_of(const ElementCorners& c, double tol = kTol) {
  ElementFills fills;
  fill_below(find_crossings(c, tol), c, tol, fills);
  std::vector<Points> out;
  for (int n = 0; n < fills.count; ++n) {
    const FillPolygon& p = fills.polygons[static_cast<size_t>(n)];
    out.emplace_back(p.points.begin(), p.points.begin() + p.count);
  }
  return out;
}

TEST(IsolineCrossings, EachEdgeIsCutAtTheInterpolatedFraction) {
  // Edge 1 (A-B) a quarter of the way from A, edge 2 (A-C) halfway.
  EXPECT_EQ(lines_of(element(-1, 3, 1, 5)), (std::vector<Points>{{{1.5, 10}, {1, 12}}}));
  // Edge 2 and edge 4 (B-D, a quarter from B).
  EXPECT_EQ(lines_of(element(1, 1, -1, -3)), (std::vector<Points>{{{1, 12}, {3, 11}}}));
  // Edge 1 and edge 3 (C-D, a quarter from C).
  EXPECT_EQ(lines_of(element(-1, 1, -1, 3)), (std::vector<Points>{{{2, 10}, {1.5, 14}}}));
  // Nothing crossed, one side of the level.
  EXPECT_TRUE(lines_of(element(1, 2, 3, 4)).empty());
  EXPECT_TRUE(lines_of(element(-1, -2, -3, -4)).empty());
}

TEST(IsolineCrossings, ToleranceWidensTheEdgeAndRefusesTinyDifferencesAndNonFiniteValues) {
  // t = 1 / (1 - 1e-6) lies within 1 + tol: the crossing sits just past B.
  const EdgeCrossings near = find_crossings(element(-1, -1.0E-6, -1, -1), kTol);
  EXPECT_TRUE(near.crossed[1]);
  EXPECT_NEAR(near.at[1].x, 1 + 2 / (1 - 1.0E-6), 1e-12);
  // t = 1.001 does not.
  EXPECT_FALSE(find_crossings(element(-1, -1.0E-3, -1, -1), kTol).crossed[1]);
  // Ends closer than the tolerance have no crossing, even across the level.
  EXPECT_FALSE(find_crossings(element(-4.0E-6, 5.0E-6, 1, 1), kTol).crossed[1]);
  EXPECT_TRUE(find_crossings(element(-6.0E-6, 5.0E-6, 1, 1), kTol).crossed[1]);
  // Equal ends with a zero tolerance (a zero step) do not divide 0 by 0.
  EXPECT_EQ(find_crossings(element(0, 0, 0, 0), 0.0).count, 0);
  // NaN and infinity cross nothing and are never below.
  const EdgeCrossings nan = find_crossings(element(kNan, 1, -1, 1), kTol);
  EXPECT_FALSE(nan.crossed[1] || nan.crossed[2]);
  EXPECT_TRUE(nan.crossed[3]);
  EXPECT_FALSE(find_crossings(element(INFINITY, -INFINITY, 1, 1), kTol).crossed[1]);
  EXPECT_FALSE(corner_below(kNan, kTol));
  EXPECT_TRUE(fills_of(element(kNan, kNan, kNan, kNan)).empty());
  // Below means less than -tol / 4.
  EXPECT_FALSE(corner_below(-kTol / 4, kTol));
  EXPECT_TRUE(corner_below(-kTol / 4 * 1.001, kTol));
}

TEST(IsolineCrossings, LevelThroughANodeMeetsThereFromEveryElementWithoutAGap) {
  // v = (x - 1) + 2 (y - 1) on the nodes x, y = 0, 1, 2; level 0 runs from
  // (2, 0.5) through the node (1, 1) to (0, 1.5).
  const auto v = [](double x, double y) { return (x - 1) + 2 * (y - 1); };
  const auto at = [&](double x1, double y1) {
    return ElementCorners{v(x1, y1), v(x1 + 1, y1), v(x1, y1 + 1), v(x1 + 1, y1 + 1), x1, x1 + 1, y1, y1 + 1};
  };
  // Element x 1..2, y 0..1: the node is its corner C, on edges 2 and 3; the
  // path runs through the three crossings in edge order.
  EXPECT_EQ(lines_of(at(1, 0)), (std::vector<Points>{{{1, 1}, {1, 1}, {2, 0.5}}}));
  // Element x 0..1, y 1..2: the node is its corner B, on edges 1 and 4.
  EXPECT_EQ(lines_of(at(0, 1)), (std::vector<Points>{{{1, 1}, {0, 1.5}, {1, 1}}}));
  // The two elements that only touch the node meet the level there alone.
  EXPECT_EQ(lines_of(at(0, 0)), (std::vector<Points>{{{1, 1}, {1, 1}}}));
  EXPECT_EQ(lines_of(at(1, 1)), (std::vector<Points>{{{1, 1}, {1, 1}}}));
  // The part below: A, B, the crossing on edge 4, and C (twice, from both of its edges).
  EXPECT_EQ(fills_of(at(1, 0)), (std::vector<Points>{{{1, 0}, {2, 0}, {2, 0.5}, {1, 1}, {1, 1}}}));
  // The element above the node is not filled.
  EXPECT_TRUE(fills_of(at(1, 1)).empty());
}

TEST(IsolineSaddle, TheDiagonalWithTheLargerSumStaysConnected) {
  // A and D above with the larger |sum|: segments cut off B and C.
  const ElementCorners ad_high = element(2, -1, -1, 2);
  EXPECT_TRUE(saddle_cuts_off_b_and_c(ad_high));
  const PlanePoint p1{1 + 4.0 / 3, 10}, p2{1, 10 + 8.0 / 3}, p3{1 + 2.0 / 3, 14}, p4{3, 10 + 4.0 / 3};
  const std::vector<Points> lines = lines_of(ad_high);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0][0], p1);
  EXPECT_NEAR(lines[0][1].y, p4.y, 1e-12);
  EXPECT_EQ(lines[0][1].x, p4.x);
  EXPECT_NEAR(lines[1][0].y, p2.y, 1e-12);
  EXPECT_NEAR(lines[1][1].x, p3.x, 1e-12);
  // B and C below: the two cut-off triangles.
  const std::vector<Points> corners_filled = fills_of(ad_high);
  ASSERT_EQ(corners_filled.size(), 2u);
  EXPECT_EQ(corners_filled[0][2], kB);
  EXPECT_EQ(corners_filled[1][2], kC);
  EXPECT_EQ(corners_filled[0].size() + corners_filled[1].size(), 6u);

  // A and D below instead: the band between the segments, as two
  // quadrilaterals over the diagonal A-D.
  const std::vector<Points> band = fills_of(element(-2, 1, 1, -2));
  ASSERT_EQ(band.size(), 2u);
  EXPECT_EQ((Points{band[0][2], band[0][3], band[1][2], band[1][3]}), (Points{kD, kA, kD, kA}));

  // B and C with the larger |sum|: segments cut off A and D.
  const ElementCorners bc_high = element(1, -2, -2, 1);
  EXPECT_FALSE(saddle_cuts_off_b_and_c(bc_high));
  const std::vector<Points> bc_lines = lines_of(bc_high);
  ASSERT_EQ(bc_lines.size(), 2u);
  EXPECT_EQ(bc_lines[0][0].y, 10);  // edge 1 with edge 2 (x = 1)
  EXPECT_EQ(bc_lines[0][1].x, 1);
  EXPECT_EQ(bc_lines[1][0].y, 14);  // edge 3 with edge 4 (x = 3)
  EXPECT_EQ(bc_lines[1][1].x, 3);
  // A is above: the quadrilaterals over the diagonal B-C.
  const std::vector<Points> bc_band = fills_of(bc_high);
  ASSERT_EQ(bc_band.size(), 2u);
  EXPECT_EQ((Points{bc_band[0][2], bc_band[0][3], bc_band[1][2], bc_band[1][3]}), (Points{kC, kB, kB, kC}));
  // A below: the triangles at A and D.
  const std::vector<Points> ad_corners = fills_of(element(-1, 2, 2, -1));
  ASSERT_EQ(ad_corners.size(), 2u);
  EXPECT_EQ((Points{ad_corners[0][2], ad_corners[1][2]}), (Points{kA, kD}));
  // A tie keeps the segments at A and D.
  EXPECT_FALSE(saddle_cuts_off_b_and_c(element(1, -1, -1, 1)));
}

TEST(IsolineFills, ThePieceOnTheLowerSideOfTheSegment) {
  // Cut-off corner A below: its triangle.
  EXPECT_EQ(fills_of(element(-1, 3, 1, 5)), (std::vector<Points>{{kA, {1.5, 10}, {1, 12}}}));
  // A above: the rest of the element, a pentagon.
  EXPECT_EQ(fills_of(element(1, -3, -1, -5)), (std::vector<Points>{{{1.5, 10}, kB, kD, kC, {1, 12}}}));
  // From one side to the opposite one: the side holding the corners below.
  EXPECT_EQ(fills_of(element(-1, 1, -1, 3)), (std::vector<Points>{{kA, {2, 10}, {1.5, 14}, kC}}));
  EXPECT_EQ(fills_of(element(1, -1, 1, -3)), (std::vector<Points>{{{2, 10}, kB, kD, {1.5, 14}}}));
  // Cut-off corner D below.
  EXPECT_EQ(fills_of(element(1, 1, 1, -1)), (std::vector<Points>{{{3, 12}, kD, {2, 14}}}));
  // No crossing: whole when A is below, nothing otherwise.
  EXPECT_EQ(fills_of(element(-1, -2, -3, -4)), (std::vector<Points>{{kA, kB, kD, kC}}));
  EXPECT_TRUE(fills_of(element(1, 2, 3, 4)).empty());
}

TEST(IsolineFills, LevelOnACornerOrAnEdgeFillsOnlyWhatLiesBelow) {
  // The level along edge 2 of an element above it: the segment runs along
  // the edge and there is nothing below to fill.
  EXPECT_EQ(lines_of(element(0, 2, 0, 2)), (std::vector<Points>{{kA, kC}}));
  EXPECT_TRUE(fills_of(element(0, 2, 0, 2)).empty());
  // The same edge of an element below it: the whole element.
  EXPECT_EQ(fills_of(element(0, -2, 0, -2)), (std::vector<Points>{{kA, kB, kD, kC}}));
  // The level through corner A of an element above it.
  EXPECT_TRUE(fills_of(element(0, 1, 2, 3)).empty());
  EXPECT_EQ(fills_of(element(0, -1, -2, -3)), (std::vector<Points>{{kA, kB, kD, kC, kA}}));
}

}  // namespace
}  // namespace tambri
