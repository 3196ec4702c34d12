#include "core/equicolour_scale.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/text_cases.h"

namespace tambri {
namespace {

// The margin is 0.01 of a step; a step of 1.0E-30 or less is no step and
// takes a fixed margin.
TEST(EquicolourScale, LevelsStartAtTheMinimumAndAValueMustPassThresholdAndMargin) {
  const EquicolourScale s = equicolour_scale(0, 128);
  EXPECT_EQ(s.step, 1);
  EXPECT_DOUBLE_EQ(s.margin, 0.01);
  EXPECT_EQ(equicolour_scale(42, 42).margin, 1.0E-5);
  EXPECT_EQ(equicolour_scale(0, 1.0E-28).margin, 1.0E-5);
  EXPECT_DOUBLE_EQ(equicolour_scale(0, 1.28E-27).margin, 1.0E-31);
  for (const test::CaseRow& c : test::read_cases("tests/core/data/equicolour_cases.txt")) {
    const std::vector<double> v = test::numbers(c[0]);  // lo, hi, the value
    EXPECT_EQ(equicolour_index(equicolour_scale(v.at(0), v.at(1)), v.at(2)), std::stoi(c[1])) << c.where;
  }
}

}  // namespace
}  // namespace tambri
