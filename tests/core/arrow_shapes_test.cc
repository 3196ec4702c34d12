#include "core/arrow_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

// Lines 0, 1/(n-1), ..., 1 in both directions.
Grid unit_grid(int nx, int ny) {
  Grid g;
  g.nx = nx;
  g.ny = ny;
  for (int i = 1; i <= nx; ++i) g.x[i] = (i - 1) / static_cast<double>(nx - 1);
  for (int j = 1; j <= ny; ++j) g.y[j] = (j - 1) / static_cast<double>(ny - 1);
  return g;
}

TEST(ArrowThinning, OfferedFromFortyIntervalsAndSteppingByTheTwentieths) {
  const ArrowThinning t = arrow_thinning(1, 41, 1, 11);  // 40 and 10 intervals
  EXPECT_TRUE(t.offered());
  EXPECT_EQ(t.step_x(false), 2);
  EXPECT_EQ(t.step_y(false), 1);  // 10 div 20 = 0 steps by 1
  EXPECT_EQ(t.step_x(true), 1);
  EXPECT_FALSE(arrow_thinning(1, 40, 1, 40).offered());  // 39 intervals: 1 each way
  const ArrowThinning zoomed = arrow_thinning(100, 201, 1, 201);
  EXPECT_EQ(zoomed.step_x(false), 5);
  EXPECT_EQ(zoomed.step_y(false), 10);
}

TEST(MagnitudeRange, WholeGridWithoutValuesThatAreNotFinite) {
  auto a = std::make_unique<NodeArray>(), b = std::make_unique<NodeArray>();
  (*a)[1] = 3;
  (*b)[1] = 4;  // 5
  (*a)[2] = -0.5;
  (*a)[3] = kNan;
  (*b)[4] = kInf;
  (*a)[5] = 1e200;  // its square overflows: no magnitude either
  (*b)[5] = 1e200;
  (*a)[6] = 2;
  (*a)[7] = 100;  // beyond the count
  MagnitudeRange r = magnitude_range(*a, *b, 6);
  EXPECT_EQ(r.max, 5);
  EXPECT_EQ(r.min, 0.5);
  // All zero: nothing to draw. All beyond the single-precision start: the
  // start stays the minimum.
  a->fill(0);
  b->fill(0);
  EXPECT_EQ(magnitude_range(*a, *b, 6).max, 0);
  a->fill(2e35);
  r = magnitude_range(*a, *b, 6);
  EXPECT_EQ(r.min, 1.0000000409184788e35);
  EXPECT_EQ(r.max, 2e35);
}

TEST(ArrowScale, SmallerCellOfTheLinesMinusTwoAndTheTwoLineRegion) {
  const Grid g = unit_grid(11, 21);
  ArrowScale s = arrow_scale(g, 1, 11, 1, 21, 1, 1, 0.5, 2, false);
  EXPECT_DOUBLE_EQ(s.cx, 1.0 / 9);
  EXPECT_DOUBLE_EQ(s.cy, 1.0 / 19);
  EXPECT_EQ(s.s, 0.949999988079071 * s.cy / 2);
  EXPECT_EQ(s.lo, 0.5 - 1e-10);
  EXPECT_EQ(s.hi, 2 + 1e-10);
  // Thinned by 3 across: that cell triples.
  EXPECT_DOUBLE_EQ(arrow_scale(g, 1, 11, 1, 21, 1, 3, 0, 1, false).cy, 3.0 / 19);
  // Two x lines (0.1 apart): their distance is the cell; a single line has
  // none and leaves the other direction's.
  s = arrow_scale(g, 4, 5, 1, 21, 1, 1, 0, 1, false);
  EXPECT_DOUBLE_EQ(s.cx, 0.1);
  EXPECT_EQ(s.s, 0.949999988079071 * (1.0 / 19));
  s = arrow_scale(g, 4, 4, 1, 21, 1, 1, 0, 1, false);
  EXPECT_DOUBLE_EQ(s.cx, 1.0 / 19);
  EXPECT_TRUE(std::isfinite(s.s));
}

// Cells of 0.1 in both directions, max 2.
ArrowScale tenth_cells(bool logarithmic, double min = 0, double max = 2) {
  ArrowScale s;
  s.cx = s.cy = 0.1;
  s.max = max;
  s.s = kArrowCellFill * 0.1 / max;
  s.lo = min - kArrowFilterMargin;
  s.hi = max + kArrowFilterMargin;
  s.logarithmic = logarithmic;
  return s;
}

TEST(ArrowAt, FullLengthAndATenthOnBothScales) {
  const double full = 0.949999988079071 * 0.1;
  std::optional<Arrow> a = arrow_at(tenth_cells(false), 0.3, 0.5, 2, 0);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->length, full);
  EXPECT_DOUBLE_EQ(a->tip.x, 0.3 + full);
  EXPECT_EQ(a->tip.y, 0.5);
  EXPECT_DOUBLE_EQ(arrow_at(tenth_cells(true), 0, 0, 2, 0)->length, full * 1.0000000149011612);
  EXPECT_NEAR(arrow_at(tenth_cells(false), 0, 0, 0.2, 0)->length, 0.095 * 0.1, 1e-9);
  EXPECT_NEAR(arrow_at(tenth_cells(true), 0, 0, 0.2, 0)->length, 0.855 * 0.1, 1e-8);
  // 1e-10 of max: length 0 on the logarithmic scale, still drawn; below it
  // the factor turns negative and the arrow is left out.
  EXPECT_NEAR(arrow_at(tenth_cells(true), 0, 0, 2e-10, 0)->length, 0, 1e-12);
  EXPECT_FALSE(arrow_at(tenth_cells(true), 0, 0, 2e-11, 0));
  EXPECT_DOUBLE_EQ(logarithmic_length_factor(1), 1.0000000149011612);
}

TEST(ArrowAt, LimitsHideWeakerAndStrongerArrowsAndLengthenTheRest) {
  EXPECT_FALSE(arrow_at(tenth_cells(false, 1), 0, 0, 0.5, 0));  // min raised to 1
  EXPECT_TRUE(arrow_at(tenth_cells(false, 1), 0, 0, 1.0, 0));
  const ArrowScale lowered = tenth_cells(false, 0, 1);  // max lowered from 2 to 1
  EXPECT_FALSE(arrow_at(lowered, 0, 0, 2, 0));
  EXPECT_DOUBLE_EQ(arrow_at(lowered, 0, 0, 1, 0)->length, 0.949999988079071 * 0.1);
  for (const bool log : {false, true}) {
    EXPECT_FALSE(arrow_at(tenth_cells(log), 0, 0, kNan, 1));
    EXPECT_FALSE(arrow_at(tenth_cells(log), 0, 0, 1, kInf));
    ArrowScale infinite = tenth_cells(log, 0, 1e-320);  // a scale beyond the doubles
    EXPECT_FALSE(arrow_at(infinite, 0, 0, 1e-320, 0));
  }
}

TEST(ArrowAt, HeadsOnTheAxesWithinTheToleranceAndAlongTheShaftOtherwise) {
  const ArrowScale s = tenth_cells(false);
  const double len = 0.949999988079071 * 0.1, h = 0.30000001192092896 * len, q = 0.36000001430511475 * h;
  // Downward and upward along x: the head is square to the axis.
  for (const double sign : {1.0, -1.0}) {
    const Arrow a = arrow_at(s, 0.5, 0.5, 2 * sign, 0).value();
    EXPECT_DOUBLE_EQ(a.head1.x, a.tip.x - sign * h);
    EXPECT_DOUBLE_EQ(a.head2.x, a.head1.x);
    EXPECT_DOUBLE_EQ(a.head1.y, 0.5 - q);
    EXPECT_DOUBLE_EQ(a.head2.y, 0.5 + q);
  }
  // To the left along y.
  const Arrow left = arrow_at(s, 0.5, 0.5, 0, -2).value();
  EXPECT_DOUBLE_EQ(left.head1.y, left.tip.y + h);
  EXPECT_DOUBLE_EQ(left.head1.x, 0.5 - q);
  EXPECT_DOUBLE_EQ(left.head2.x, 0.5 + q);
  // An across part just under 0.001 of the cell is still on the axis; just
  // over it the head follows the slightly sloping shaft.
  const double across = 0.000999 * 0.1 / s.s;
  const std::optional<Arrow> on_axis = arrow_at(s, 0.5, 0.5, 1, across);
  const std::optional<Arrow> sloped = arrow_at(s, 0.5, 0.5, 1, 1.002 * across / 0.999);
  ASSERT_TRUE(on_axis && sloped);
  EXPECT_EQ(on_axis->head1.x, on_axis->head2.x);
  EXPECT_NE(sloped->head1.x, sloped->head2.x);
  // Diagonal: both head points h behind the tip along the shaft, q across.
  const Arrow d = arrow_at(s, 0.5, 0.5, 1.2, -1.6).value();
  for (const ArrowPoint& p : {d.head1, d.head2}) {
    const double ey = (d.tip.y - d.node.y) / d.length, ex = (d.tip.x - d.node.x) / d.length;
    const double back = (d.tip.y - p.y) * ey + (d.tip.x - p.x) * ex;
    const double side = (p.y - d.tip.y) * ex - (p.x - d.tip.x) * ey;
    EXPECT_NEAR(back, h, 1e-15);
    EXPECT_NEAR(std::fabs(side), q, 1e-15);
  }
  EXPECT_DOUBLE_EQ(d.head1.y + d.head2.y, 2 * (d.tip.y - h * (d.tip.y - d.node.y) / len));
}

}  // namespace
}  // namespace tambri
