#include "core/arrow_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "support/text_cases.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");
const double kFull = 0.949999988079071 * 0.1;  // the 0.95 fill of a cell of 0.1

TEST(ArrowThinning, OfferedFromFortyIntervalsAndSteppingByTheTwentieths) {
  const ArrowThinning t = arrow_thinning(1, 41, 1, 11);  // 40 and 10 intervals
  EXPECT_TRUE(t.offered());
  EXPECT_EQ(t.step_x(false) * 10 + t.step_y(false), 21);  // 10 div 20 = 0 steps by 1
  EXPECT_EQ(t.step_x(true), 1);
  EXPECT_FALSE(arrow_thinning(1, 40, 1, 40).offered());  // 39 intervals
  const ArrowThinning zoomed = arrow_thinning(100, 201, 1, 201);
  EXPECT_EQ(zoomed.step_x(false) * 100 + zoomed.step_y(false), 510);
}

TEST(MagnitudeRange, OverTheCountWithoutValuesThatAreNotFinite) {
  auto a = std::make_unique<NodeArray>(), b = std::make_unique<NodeArray>();
  // 5; 0.5; NaN; infinite; a square that overflows; 2; beyond the count.
  const double x[] = {0, 3, -0.5, kNan, 0, 1e200, 2, 100}, y[] = {0, 4, 0, 0, kInf, 1e200, 0, 0};
  for (int k = 1; k <= 7; ++k) (*a)[k] = x[k], (*b)[k] = y[k];
  const MagnitudeRange r = magnitude_range(*a, *b, 6);
  EXPECT_EQ(std::pair(r.min, r.max), std::pair(0.5, 5.0));
  a->fill(0);
  b->fill(0);
  EXPECT_EQ(magnitude_range(*a, *b, 6).max, 0);  // nothing to draw
  a->fill(2e35);                                 // beyond the single-precision start, which stays the minimum
  EXPECT_EQ(magnitude_range(*a, *b, 6).min, 1.0000000409184788e35);
}

// The cell is the smaller spacing of the displayed lines minus two (times
// the thinning); two lines give their distance, one line none.
TEST(ArrowScale, SmallerCellOfTheLinesMinusTwoAndTheTwoLineRegion) {
  Grid g;
  g.nx = 11;
  g.ny = 21;
  for (int i = 1; i <= 21; ++i) g.x[i] = (i - 1) / 10.0, g.y[i] = (i - 1) / 20.0;
  ArrowScale s = arrow_scale(g, 1, 11, 1, 21, 1, 1, 0.5, 2, false);
  EXPECT_DOUBLE_EQ(s.cx, 1.0 / 9);
  EXPECT_DOUBLE_EQ(s.cy, 1.0 / 19);
  EXPECT_EQ(s.s, 0.949999988079071 * s.cy / 2);
  EXPECT_EQ(std::pair(s.lo, s.hi), std::pair(0.5 - 1e-10, 2 + 1e-10));
  EXPECT_DOUBLE_EQ(arrow_scale(g, 1, 11, 1, 21, 1, 3, 0, 1, false).cy, 3.0 / 19);
  s = arrow_scale(g, 4, 5, 1, 21, 1, 1, 0, 1, false);
  EXPECT_DOUBLE_EQ(s.cx, 0.1);
  EXPECT_EQ(s.s, 0.949999988079071 * (1.0 / 19));
  s = arrow_scale(g, 4, 4, 1, 21, 1, 1, 0, 1, false);
  EXPECT_DOUBLE_EQ(s.cx, 1.0 / 19);
  EXPECT_TRUE(std::isfinite(s.s));
}

// Cells of 0.1 in both directions, magnitudes min..max drawn.
ArrowScale tenth_cells(bool logarithmic, double min = 0, double max = 2) {
  return {kArrowCellFill * 0.1 / max, 0.1, 0.1, max, min - kArrowFilterMargin, max + kArrowFilterMargin, logarithmic};
}

TEST(ArrowAt, LengthsOnBothScalesAndTheLimits) {
  const std::optional<Arrow> a = arrow_at(tenth_cells(false), 0.3, 0.5, 2, 0);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->length, kFull);
  EXPECT_EQ(std::pair(a->tip.x, a->tip.y), std::pair(0.3 + kFull, 0.5));
  for (const test::CaseRow& c : test::read_cases("tests/core/data/arrow_lengths.txt")) {
    const std::vector<double> v = test::numbers(c[1]);
    const std::optional<Arrow> arrow = arrow_at(tenth_cells(c[0] == "log", v.at(0), v.at(1)), 0, 0, v.at(2), v.at(3));
    EXPECT_EQ(arrow.has_value(), c[2] != "none") << c.where;
    if (arrow) {
      EXPECT_NEAR(arrow->length, test::number(c[2]), test::number(c[3])) << c.where;
    }
  }
}

TEST(ArrowAt, HeadsOnTheAxesWithinTheToleranceAndAlongTheShaftOtherwise) {
  const ArrowScale s = tenth_cells(false);
  const double h = 0.30000001192092896 * kFull, q = 0.36000001430511475 * h;
  // Along x either way and to the left along y: the head is square to the axis.
  for (const double sign : {1.0, -1.0}) {
    const Arrow a = arrow_at(s, 0.5, 0.5, 2 * sign, 0).value();
    EXPECT_DOUBLE_EQ(a.head1.x, a.tip.x - sign * h);
    EXPECT_DOUBLE_EQ(a.head2.x, a.head1.x);
    EXPECT_EQ(std::pair(a.head1.y, a.head2.y), std::pair(0.5 - q, 0.5 + q));
  }
  const Arrow left = arrow_at(s, 0.5, 0.5, 0, -2).value();
  EXPECT_DOUBLE_EQ(left.head1.y, left.tip.y + h);
  EXPECT_EQ(std::pair(left.head1.x, left.head2.x), std::pair(0.5 - q, 0.5 + q));
  // An across part just under 0.001 of the cell is still on the axis; just
  // over it the head follows the slightly sloping shaft.
  const double across = 0.000999 * 0.1 / s.s;
  EXPECT_EQ(arrow_at(s, 0.5, 0.5, 1, across)->head1.x, arrow_at(s, 0.5, 0.5, 1, across)->head2.x);
  EXPECT_NE(arrow_at(s, 0.5, 0.5, 1, 1.002 * across / 0.999)->head1.x,
            arrow_at(s, 0.5, 0.5, 1, 1.002 * across / 0.999)->head2.x);
  // Diagonal: both head points h behind the tip along the shaft, q across.
  const Arrow d = arrow_at(s, 0.5, 0.5, 1.2, -1.6).value();
  const double ey = (d.tip.y - d.node.y) / d.length, ex = (d.tip.x - d.node.x) / d.length;
  for (const ArrowPoint& p : {d.head1, d.head2}) {
    EXPECT_NEAR((d.tip.y - p.y) * ey + (d.tip.x - p.x) * ex, h, 1e-15);
    EXPECT_NEAR(std::fabs((p.y - d.tip.y) * ex - (p.x - d.tip.x) * ey), q, 1e-15);
  }
  EXPECT_NEAR(d.head1.y + d.head2.y - 2 * d.tip.y, -2 * h * ey, 1e-15);  // one on each side
}

}  // namespace
}  // namespace tambri
