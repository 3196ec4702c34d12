#include "core/isoline_levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "support/solve_fixture.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

// The double a 1PE8.1 label stands for.
double text(const char* t) { return std::strtod(t, nullptr); }

std::vector<double> listed(const IsolineLevels& levels) { return {levels.at.begin() + 1, levels.at.begin() + 1 + levels.count}; }

TEST(IsolineLevels, StepAndLevelsAreTheValuesTheirLabelsShow) {
  // 0 to 10 V: ten levels of 1 V down to exactly (positive) zero.
  const IsolineLevels volts = automatic_levels(10, isoline_step(0, 10));
  EXPECT_EQ(listed(volts), (std::vector<double>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_FALSE(std::signbit(volts.at[11]));
  // A tenth of 0.887654 is written 8.9E-02; every level is rounded to two
  // digits after the subtraction, so the rounding does not accumulate.
  const double step = isoline_step(0.1, 0.987654);
  EXPECT_EQ(step, text("8.9E-02"));
  std::vector<double> labels;
  for (const char* t : {"9.9E-01", "9.0E-01", "8.1E-01", "7.2E-01", "6.3E-01", "5.4E-01", "4.5E-01", "3.6E-01",
                        "2.7E-01", "1.8E-01", "9.1E-02"}) {
    labels.push_back(text(t));
  }
  EXPECT_EQ(listed(automatic_levels(0.987654, step)), labels);
  // Levels below zero and a range whose step rounds up to a new decade.
  EXPECT_EQ(isoline_step(-20, -10.4), text("9.6E-01"));
  EXPECT_EQ(isoline_step(0, 99.7), 10.0);
  EXPECT_EQ(listed(automatic_levels(-10.4, 0.96))[1], text("-1.1E+01"));  // -10 - 0.96
  // 9E-16 - 9E-17 = 8.1E-16 is at most 1E-15 from zero: that level and all
  // below it are exactly 0.
  EXPECT_EQ(listed(automatic_levels(9.0E-16, isoline_step(0, 9.0E-16))), (std::vector<double>{9.0E-16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // The tolerance: a hundred-thousandth of the step, never more than 1E-5.
  EXPECT_EQ(isoline_tolerance(step), text("8.9E-02") * 1.0E-5);
  EXPECT_EQ(isoline_tolerance(1.0E-3), 1.0E-3 * 1.0E-5);
  EXPECT_EQ(isoline_tolerance(50.0), 1.0E-5);
}

TEST(IsolineLevels, LabelRoundingReadsBackEveryFieldTheFormatWrites) {
  // A three-digit exponent is written without its "E" ("1.2-100"); what the
  // field cannot show comes back as it was.
  const std::pair<double, double> cases[] = {{9.96, 10.0}, {-0.0123, text("-1.2E-02")}, {0.0, 0.0},
                                             {1.234E-100, 1.2E-100}, {-5.55E+200, -5.6E+200}, {-kInf, -kInf}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(rounded_to_label(value), rounded) << value;
  EXPECT_TRUE(std::isnan(rounded_to_label(kNan)));
}

// The floor is 0.1 times the decade of a millionth of |max| (truncated log).
TEST(IsolineLevels, StepFloorFollowsTheDecadeOfAMillionthOfTheMaximum) {
  const std::pair<std::pair<double, double>, double> cases[] = {
      {{2.0E7 - 1, 2.0E7}, 1.0},    // n = trunc(log10(20)) = 1, floor 1 over a span of 1
      {{-2.0E7 - 1, -2.0E7}, 1.0},  // the magnitude counts
      {{5.0E5 - 0.5, 5.0E5}, 0.1},  // n = trunc(-0.3) = 0
      {{5.0E4 - 0.5, 5.0E4}, 0.05}, // n = -1: no floor
      {{1.0E7, 3.0E7}, 2.0E6},      // a wider range keeps its own step
      {{-3, 0}, text("3.0E-01")},   // a zero maximum has no logarithm and no floor
  };
  for (const auto& [range, step] : cases) EXPECT_EQ(isoline_step(range.first, range.second), step) << range.second;
  EXPECT_EQ(listed(automatic_levels(2.0E7, 1.0))[10], 2.0E7);  // below the labels' resolution
  EXPECT_TRUE(std::isfinite(isoline_step(1.0E308, 1.7E308)));  // the floor's power of ten stays finite
}

TEST(IsolineValues, RangeOverFiniteValuesAndTheLogarithmOfZeros) {
  auto model = test::make_model(kProblemE, {0, 1}, {0, 1});
  auto d = std::make_unique<DerivedFields>();
  const double x[] = {0, 0, 3, -0.5, 1.0E-31}, y[] = {0, 0, 4, 0, 0};
  for (int k = 1; k <= 4; ++k) d->strength_x[k] = x[k], d->strength_y[k] = y[k];
  auto v = std::make_unique<NodeArray>();
  isoline_values(model->grid, {&d->strength_x, &d->strength_y, true, "E"}, true, *v);
  EXPECT_EQ((std::vector<double>{(*v)[1], (*v)[2], (*v)[3]}),
            (std::vector<double>{std::log10(1.0E-30), std::log10(5 + 1.0E-30), std::log10(0.5 + 1.0E-30)}));
  isoline_values(model->grid, {&d->strength_x, nullptr, false, "Ex"}, true, *v);
  EXPECT_EQ((*v)[3], std::log10(0.5));  // |a + 1e-30|
  EXPECT_EQ((*v)[4], std::log10(1.0E-31 + 1.0E-30));
  isoline_values(model->grid, {&d->strength_x, nullptr, false, "Ex"}, false, *v);
  (*v)[2] = kNan;
  (*v)[4] = -kInf;
  const ValueRange r = finite_range(*v, 4);
  EXPECT_TRUE(r.any);
  EXPECT_EQ(std::pair(r.min, r.max), std::pair(-0.5, 0.0));
  EXPECT_FALSE(all_values_equal(r));
  (*v)[1] = (*v)[3] = kInf;
  EXPECT_FALSE(finite_range(*v, 4).any);
  EXPECT_TRUE(all_values_equal(finite_range(*v, 4)));
  EXPECT_TRUE(all_values_equal({1.0, 1.0 + 1.0E-20, true}));
  EXPECT_FALSE(all_values_equal({0.0, 2.0E-20, true}));
}

}  // namespace
}  // namespace tambri
