#include "core/isoline_contours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/text_cases.h"

namespace tambri {

bool operator==(const PlanePoint& a, const PlanePoint& b) { return a.x == b.x && a.y == b.y; }
void PrintTo(const PlanePoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

constexpr double kTol = 1.0E-5;
const double kNan = std::nan("");

using Points = std::vector<PlanePoint>;
using Pieces = std::vector<Points>;

// An element from x = 1 to 3 and y = 10 to 14: A (1, 10), B (3, 10),
// C (1, 14), D (3, 14).
ElementCorners element(double fa, double fb, double fc, double fd) { return {fa, fb, fc, fd, 1, 3, 10, 14}; }
const PlanePoint kA{1, 10}, kB{3, 10}, kC{1, 14}, kD{3, 14};

Pieces lines_of(const ElementCorners& c) {
  ElementLines lines;
  join_crossings(find_crossings(c, kTol), c, lines);
  Pieces out;
  for (int n = 0; n < lines.count; ++n)
    out.emplace_back(lines.paths[n].points.begin(), lines.paths[n].points.begin() + lines.paths[n].count);
  return out;
}

Pieces fills_of(const ElementCorners& c) {
  ElementFills fills;
  fill_below(find_crossings(c, kTol), c, kTol, fills);
  Pieces out;
  for (int n = 0; n < fills.count; ++n)
    out.emplace_back(fills.polygons[n].points.begin(), fills.polygons[n].points.begin() + fills.polygons[n].count);
  return out;
}

// Pieces as the table writes them: "x,y" points or corner letters, ';' between pieces.
Pieces pieces(const std::string& text) {
  Pieces out;
  if (text == "none") return out;
  std::string piece;
  for (std::istringstream in(text); std::getline(in, piece, ';');) {
    out.emplace_back();
    for (const std::string& p : test::words(piece)) {
      const size_t comma = p.find(',');
      out.back().push_back(p == "A"   ? kA
                           : p == "B" ? kB
                           : p == "C" ? kC
                           : p == "D"
                               ? kD
                               : PlanePoint{test::number(p.substr(0, comma)), test::number(p.substr(comma + 1))});
    }
  }
  return out;
}

TEST(IsolineCrossings, EachEdgeIsCutAtTheInterpolatedFractionAndALevelThroughANodeLeavesNoGap) {
  for (const test::CaseRow& c : test::read_cases("tests/core/data/isoline_contours_elements.txt")) {
    std::vector<double> v = test::numbers(c[0]);
    if (v.size() == 4) v.insert(v.end(), {1, 3, 10, 14});
    const ElementCorners e{v.at(0), v.at(1), v.at(2), v.at(3), v.at(4), v.at(5), v.at(6), v.at(7)};
    if (c[1] != "-") {
      EXPECT_EQ(lines_of(e), pieces(c[1])) << c.where;
    }
    if (c[2] != "-") {
      EXPECT_EQ(fills_of(e), pieces(c[2])) << c.where;
    }
  }
}

TEST(IsolineCrossings, ToleranceWidensTheEdgeAndRefusesTinyDifferencesAndNonFiniteValues) {
  // t = 1 / (1 - 1e-6) lies within 1 + tol: the crossing sits just past B;
  // t = 1.001 does not.
  const EdgeCrossings near = find_crossings(element(-1, -1.0E-6, -1, -1), kTol);
  EXPECT_TRUE(near.crossed[1]);
  EXPECT_NEAR(near.at[1].x, 1 + 2 / (1 - 1.0E-6), 1e-12);
  EXPECT_FALSE(find_crossings(element(-1, -1.0E-3, -1, -1), kTol).crossed[1]);
  // Ends closer than the tolerance have no crossing, even across the level.
  EXPECT_FALSE(find_crossings(element(-4.0E-6, 5.0E-6, 1, 1), kTol).crossed[1]);
  EXPECT_TRUE(find_crossings(element(-6.0E-6, 5.0E-6, 1, 1), kTol).crossed[1]);
  // Equal ends with a zero tolerance (a zero step) do not divide 0 by 0.
  EXPECT_EQ(find_crossings(element(0, 0, 0, 0), 0.0).count, 0);
  // NaN and infinity cross nothing and are never below; below means less than -tol / 4.
  const EdgeCrossings nan = find_crossings(element(kNan, 1, -1, 1), kTol);
  EXPECT_EQ((std::vector<bool>{nan.crossed[1], nan.crossed[2], nan.crossed[3]}),
            (std::vector<bool>{false, false, true}));
  EXPECT_FALSE(find_crossings(element(INFINITY, -INFINITY, 1, 1), kTol).crossed[1]);
  EXPECT_FALSE(corner_below(kNan, kTol));
  EXPECT_FALSE(corner_below(-kTol / 4, kTol));
  EXPECT_TRUE(corner_below(-kTol / 4 * 1.001, kTol));
}

void expect_near(const Points& got, const Points& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t n = 0; n < got.size(); ++n) {
    EXPECT_NEAR(got[n].x, want[n].x, 1e-12) << n;
    EXPECT_NEAR(got[n].y, want[n].y, 1e-12) << n;
  }
}

// The diagonal whose corners have the larger |sum| stays connected.
TEST(IsolineSaddle, TheDiagonalWithTheLargerSumStaysConnected) {
  // A and D above: the segments cut off B and C, whose triangles are filled.
  const ElementCorners ad_high = element(2, -1, -1, 2);
  EXPECT_TRUE(saddle_cuts_off_b_and_c(ad_high));
  const Pieces lines = lines_of(ad_high);
  ASSERT_EQ(lines.size(), 2u);
  expect_near(lines[0], {{1 + 4.0 / 3, 10}, {3, 10 + 4.0 / 3}});
  expect_near(lines[1], {{1, 10 + 8.0 / 3}, {1 + 2.0 / 3, 14}});
  const Pieces corners = fills_of(ad_high);
  ASSERT_EQ(corners.size(), 2u);
  EXPECT_EQ((Points{corners[0][2], corners[1][2]}), (Points{kB, kC}));
  EXPECT_EQ(corners[0].size() + corners[1].size(), 6u);
  // A and D below: the band between the segments, as two quadrilaterals over
  // the diagonal A-D.
  const Pieces band = fills_of(element(-2, 1, 1, -2));
  ASSERT_EQ(band.size(), 2u);
  EXPECT_EQ((Points{band[0][2], band[0][3], band[1][2], band[1][3]}), (Points{kD, kA, kD, kA}));
  // B and C with the larger |sum|: the segments cut off A and D.
  const ElementCorners bc_high = element(1, -2, -2, 1);
  EXPECT_FALSE(saddle_cuts_off_b_and_c(bc_high));
  const Pieces bc_lines = lines_of(bc_high);
  ASSERT_EQ(bc_lines.size(), 2u);
  EXPECT_EQ((std::vector<double>{bc_lines[0][0].y, bc_lines[0][1].x, bc_lines[1][0].y, bc_lines[1][1].x}),
            (std::vector<double>{10, 1, 14, 3}));  // edge 1 with edge 2, edge 3 with edge 4
  const Pieces bc_band = fills_of(bc_high);        // A above: quadrilaterals over B-C
  ASSERT_EQ(bc_band.size(), 2u);
  EXPECT_EQ((Points{bc_band[0][2], bc_band[0][3], bc_band[1][2], bc_band[1][3]}), (Points{kC, kB, kB, kC}));
  const Pieces ad_corners = fills_of(element(-1, 2, 2, -1));  // A below: triangles at A and D
  ASSERT_EQ(ad_corners.size(), 2u);
  EXPECT_EQ((Points{ad_corners[0][2], ad_corners[1][2]}), (Points{kA, kD}));
  EXPECT_FALSE(saddle_cuts_off_b_and_c(element(1, -1, -1, 1)));  // a tie keeps the segments at A and D
}

}  // namespace
}  // namespace tambri
