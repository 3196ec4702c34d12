#include "core/isoline_levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/solve_fixture.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

std::vector<double> listed(const IsolineLevels& levels) {
  return {levels.at.begin() + 1, levels.at.begin() + 1 + levels.count};
}

TEST(IsolineLevels, StepsLevelsAndLabelRoundingAreTheValuesTheLabelsShow) {
  for (const test::CaseRow& c : test::read_cases("tests/core/data/isoline_levels_cases.txt")) {
    const std::vector<double> in = test::numbers(c[1]);
    if (c[0] == "round") {
      EXPECT_EQ(rounded_to_label(in.at(0)), test::number(c[2])) << c.where;
    } else if (c[0] == "step") {
      EXPECT_EQ(isoline_step(in.at(0), in.at(1)), test::number(c[2])) << c.where;
    } else {
      const std::vector<std::string> want = test::words(c[2]);
      const std::vector<double> got = listed(automatic_levels(in.at(1), isoline_step(in.at(0), in.at(1))));
      if (want.back() != "...") {
        EXPECT_EQ(got.size(), want.size()) << c.where;
      }
      for (size_t n = 0; n < want.size() && n < got.size(); ++n) {
        if (want[n] != "*" && want[n] != "...") {
          EXPECT_EQ(got[n], test::number(want[n])) << c.where << " level " << n;
        }
      }
    }
  }
  const IsolineLevels volts = automatic_levels(10, isoline_step(0, 10));
  EXPECT_FALSE(std::signbit(volts.at[11]));  // positive zero
  // The tolerance: a hundred-thousandth of the step, never more than 1E-5.
  EXPECT_EQ(isoline_tolerance(isoline_step(0.1, 0.987654)), 8.9E-02 * 1.0E-5);
  EXPECT_EQ(isoline_tolerance(1.0E-3), 1.0E-3 * 1.0E-5);
  EXPECT_EQ(isoline_tolerance(50.0), 1.0E-5);
  EXPECT_TRUE(std::isnan(rounded_to_label(kNan)));
  EXPECT_EQ(listed(automatic_levels(2.0E7, 1.0))[10], 2.0E7);  // below the labels' resolution
  EXPECT_TRUE(std::isfinite(isoline_step(1.0E308, 1.7E308)));  // the floor's power of ten stays finite
}

TEST(IsolineValues, RangeOverFiniteValuesAndTheLogarithmOfZeros) {
  auto model = test::make_model(FieldProblem::kElectrostatic, {0, 1}, {0, 1});
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
