#include "core/picture_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "core/span_widening.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

void set(NodeArray& a, std::initializer_list<double> values) {
  int k = 1;
  for (double v : values) a[k++] = v;
}

// Ex on the 3 x 2 nodes; a value beyond them is no part of the grid.
TEST(PictureValues, RangeOverTheGridWithoutNonFiniteValuesAndLogarithmsOfZeroAndNegatives) {
  auto model = test::make_model(FieldProblem::kElectrostatic, {0, 1, 2}, {0, 1});
  auto d = std::make_unique<DerivedFields>();
  const NodeQuantity ex{&d->strength_x, nullptr, false, "Ex"}, e{&d->strength_x, &d->strength_y, true, "E"};
  set(d->strength_x, {3, -7, kNan, 12, kInf, 5, -1000});
  ValueRange r = picture_value_range(model->grid, ex, false);
  EXPECT_TRUE(r.any);
  EXPECT_EQ(std::pair(r.min, r.max), std::pair(-7.0, 12.0));
  set(d->strength_x, {kNan, -kInf, kNan, kInf, kNan, kNan});
  r = picture_value_range(model->grid, ex, false);
  EXPECT_FALSE(r.any);
  EXPECT_EQ(std::pair(r.min, r.max), std::pair(0.0, 0.0));

  // A zero stays at -30 on the logarithmic scale; a negative shows its size.
  set(d->strength_x, {0, -100, 1000, 1, 0.01, -0.001});
  EXPECT_EQ(picture_value(ex, 1, true), -30);
  EXPECT_DOUBLE_EQ(picture_value(ex, 2, true), 2);
  EXPECT_DOUBLE_EQ(picture_value(ex, 6, true), -3);
  EXPECT_EQ(picture_value(ex, 2, false), -100);
  r = picture_value_range(model->grid, ex, true);
  EXPECT_EQ(r.min, -30);
  EXPECT_DOUBLE_EQ(r.max, 3);
  set(d->strength_x, {3, 0});
  set(d->strength_y, {-4, 0});
  EXPECT_EQ(picture_value(e, 1, false), 5);
  EXPECT_DOUBLE_EQ(picture_value(e, 1, true), std::log10(5.0));
  EXPECT_EQ(picture_value(e, 2, true), -30);
}

TEST(SpanWidening, ZeroSpansGrowByTheSpanOrTheSmallestStepThatShows) {
  EXPECT_EQ(widened_max(0, 0, 1.0E-30), 1.0E-30);
  EXPECT_EQ(widened_max(2, 3, 1.0E-30), 3);
  EXPECT_EQ(widened_max(1e-20, 1e-20, 1.0E-30), 1e-20 + 1.0E-30);
  EXPECT_EQ(widened_max(1, 1 - 1e-31, 1.0E-30), std::nextafter(1.0, 2.0));  // also when max lies below
  EXPECT_EQ(widened_max(100, 100, 1.0E-30), std::nextafter(100.0, 200.0));  // 1.0E-30 is lost at 100
  EXPECT_GT(widened_max(-1e20, -1e20, 1.0E-15) - -1e20, 0);
  EXPECT_TRUE(std::isnan(widened_max(0, kNan, 1.0E-30)));
}

}  // namespace
}  // namespace tambri
