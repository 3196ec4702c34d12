#include "core/picture_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "core/field_arrays.h"
#include "core/span_widening.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

struct Values : ::testing::Test {
  std::unique_ptr<StructureModel> model = test::make_model(kProblemE, {0, 1, 2}, {0, 1});
  std::unique_ptr<DerivedFields> d = std::make_unique<DerivedFields>();
  NodeQuantity plain() const { return {&d->strength_x, nullptr, false, "Ex"}; }
  NodeQuantity magnitude() const { return {&d->strength_x, &d->strength_y, true, "E"}; }
  void set(std::initializer_list<double> a, std::initializer_list<double> b = {}) {
    int k = 1;
    for (double v : a) d->strength_x[k++] = v;
    k = 1;
    for (double v : b) d->strength_y[k++] = v;
  }
};

TEST_F(Values, RangeRunsOverTheWholeGridAndSkipsWhatIsNotFinite) {
  set({3, -7, kNan, 12, kInf, 5});
  d->strength_x[7] = -1000;  // beyond the 3 x 2 nodes: not part of the grid
  const ValueRange r = picture_value_range(model->grid, plain(), false);
  EXPECT_TRUE(r.any);
  EXPECT_EQ(r.min, -7);
  EXPECT_EQ(r.max, 12);

  set({kNan, -kInf, kNan, kInf, kNan, kNan});
  const ValueRange none = picture_value_range(model->grid, plain(), false);
  EXPECT_FALSE(none.any);
  EXPECT_EQ(none.min, 0);
  EXPECT_EQ(none.max, 0);
}

TEST_F(Values, LogarithmKeepsZerosAtMinusThirtyAndShowsNegativesByTheirSize) {
  set({0, -100, 1000, 1, 0.01, -0.001}, {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(picture_value(plain(), 1, true), -30);
  EXPECT_DOUBLE_EQ(picture_value(plain(), 2, true), 2);
  EXPECT_DOUBLE_EQ(picture_value(plain(), 6, true), -3);
  EXPECT_EQ(picture_value(plain(), 2, false), -100);
  const ValueRange r = picture_value_range(model->grid, plain(), true);
  EXPECT_EQ(r.min, -30);
  EXPECT_DOUBLE_EQ(r.max, 3);

  set({3, 0, 0, 0, 0, 0}, {-4, 0, 0, 0, 0, 0});
  EXPECT_EQ(picture_value(magnitude(), 1, false), 5);
  EXPECT_DOUBLE_EQ(picture_value(magnitude(), 1, true), std::log10(5.0));
  EXPECT_EQ(picture_value(magnitude(), 2, true), -30);
}

TEST(SpanWidening, ZeroSpansGrowByTheSpanOrTheSmallestStepThatShows) {
  EXPECT_EQ(widened_max(0, 0, 1.0E-30), 1.0E-30);
  EXPECT_EQ(widened_max(2, 3, 1.0E-30), 3);
  EXPECT_EQ(widened_max(1e-20, 1e-20, 1.0E-30), 1e-20 + 1.0E-30);
  EXPECT_EQ(widened_max(1, 1 - 1e-31, 1.0E-30), std::nextafter(1.0, 2.0));  // also when max lies below
  // At 100 the 1.0E-30 is lost in rounding: the next double above 100.
  const double widened = widened_max(100, 100, 1.0E-30);
  EXPECT_GT(widened, 100);
  EXPECT_EQ(widened, std::nextafter(100.0, 200.0));
  EXPECT_GT(widened_max(-1e20, -1e20, 1.0E-15) - -1e20, 0);
  EXPECT_TRUE(std::isnan(widened_max(0, kNan, 1.0E-30)));
}

}  // namespace
}  // namespace tambri
