#include "core/equicolour_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tambri {
namespace {

// 0..128: step 1, thresholds 0, 1, ..., 127, margin 0.01; a value must pass
// a threshold by more than the margin to reach the next colour.
TEST(EquicolourScale, LevelsStartAtTheMinimumAndAValueMustPassThresholdAndMargin) {
  const EquicolourScale s = equicolour_scale(0, 128);
  EXPECT_EQ(s.step, 1);
  EXPECT_DOUBLE_EQ(s.margin, 0.01);
  const std::pair<double, int> cases[] = {{0, 16},     {0.01, 16},    {1.0, 16},     {1.005, 16},
                                          {1.02, 17},  {64.5, 80},    {127.005, 142}, {127.02, 143},
                                          {128, 143},  {1e300, 143},  {-5, 16},      {std::nan(""), 16}};
  for (const auto& [value, index] : cases) EXPECT_EQ(equicolour_index(s, value), index) << value;
  for (const auto& [lo, hi] : {std::pair{-3.0, 2.0}, {1e-12, 3e-12}, {-30.0, 4.5}, {7e6, 7e6 + 1}}) {
    const EquicolourScale r = equicolour_scale(lo, hi);
    EXPECT_EQ(equicolour_index(r, lo), 16) << lo;
    EXPECT_EQ(equicolour_index(r, hi), 143) << hi;
    EXPECT_EQ(equicolour_index(r, (lo + hi) / 2), 16 + 63) << lo;
  }
}

// A step of 1.0E-30 or less is no step: the fixed margin and the lowest colour.
TEST(EquicolourScale, ConstantFieldTakesTheFixedMarginAndTheLowestColour) {
  for (const auto& [lo, hi] : {std::pair{42.0, 42.0}, {0.0, 1.0E-28}}) {
    const EquicolourScale s = equicolour_scale(lo, hi);
    EXPECT_EQ(s.margin, 1.0E-5);
    EXPECT_EQ(equicolour_index(s, hi), 16);
  }
  EXPECT_DOUBLE_EQ(equicolour_scale(0, 1.28E-27).margin, 1.0E-31);
}

}  // namespace
}  // namespace tambri
