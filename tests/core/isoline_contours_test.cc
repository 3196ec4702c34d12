#include "core/isoline_contours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
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

// The isoline's paths and the fill's polygons in an element.
std::pair<Pieces, Pieces> lines_and_fills(const ElementCorners& c) {
  ElementLines lines;
  ElementFills fills;
  join_crossings(find_crossings(c, kTol), c, lines);
  fill_below(find_crossings(c, kTol), c, kTol, fills);
  std::pair<Pieces, Pieces> out;
  for (const auto& p : std::span(lines.paths.data(), lines.count))
    out.first.emplace_back(p.points.begin(), p.points.begin() + p.count);
  for (const auto& p : std::span(fills.polygons.data(), fills.count))
    out.second.emplace_back(p.points.begin(), p.points.begin() + p.count);
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
      const std::string_view corners = "ABCD";
      const PlanePoint corner[] = {kA, kB, kC, kD};
      out.back().push_back(p.size() == 1 && corners.find(p) != corners.npos
                               ? corner[corners.find(p)]
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
    const auto [lines, fills] = lines_and_fills(e);
    if (c[1] != "-") {
      EXPECT_EQ(lines, pieces(c[1])) << c.where;
    }
    if (c[2] != "-") {
      EXPECT_EQ(fills, pieces(c[2])) << c.where;
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

}  // namespace
}  // namespace tambri
