#include "core/equicolour_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tambri {
namespace {

TEST(EquicolourScale, LevelsStartAtTheMinimumAndAValueMustPassThresholdAndMargin) {
  // 0..128: d = 1, thresholds 0, 1, ..., 127, margin 0.01.
  const EquicolourScale s = equicolour_scale(0, 128);
  EXPECT_EQ(s.step, 1);
  EXPECT_EQ(s.threshold[0], 0);
  EXPECT_EQ(s.threshold[127], 127);
  EXPECT_DOUBLE_EQ(s.margin, 0.01);
  EXPECT_EQ(equicolour_index(s, 0), 16);
  EXPECT_EQ(equicolour_index(s, 0.01), 16);   // not beyond T(0) + margin
  EXPECT_EQ(equicolour_index(s, 1.0), 16);    // up to min + d + margin: still the lowest level
  EXPECT_EQ(equicolour_index(s, 1.005), 16);
  EXPECT_EQ(equicolour_index(s, 1.02), 17);
  EXPECT_EQ(equicolour_index(s, 64.5), 80);
  EXPECT_EQ(equicolour_index(s, 127.005), 142);
  EXPECT_EQ(equicolour_index(s, 127.02), 143);  // only beyond T(127) + margin
  EXPECT_EQ(equicolour_index(s, 128), 143);
  EXPECT_EQ(equicolour_index(s, 1e300), 143);
  EXPECT_EQ(equicolour_index(s, -5), 16);
  EXPECT_EQ(equicolour_index(s, std::nan("")), 16);
}

TEST(EquicolourScale, MinimumAndMaximumOfAnyRangeGiveTheEndColours) {
  for (const auto& [lo, hi] : {std::pair{-3.0, 2.0}, {1e-12, 3e-12}, {-30.0, 4.5}, {7e6, 7e6 + 1}}) {
    const EquicolourScale s = equicolour_scale(lo, hi);
    EXPECT_EQ(equicolour_index(s, lo), 16) << lo;
    EXPECT_EQ(equicolour_index(s, hi), 143) << hi;
    EXPECT_EQ(equicolour_index(s, (lo + hi) / 2), 16 + 63) << lo;
  }
}

TEST(EquicolourScale, ConstantFieldTakesTheFixedMarginAndTheLowestColour) {
  const EquicolourScale s = equicolour_scale(42, 42);
  EXPECT_EQ(s.step, 0);
  EXPECT_EQ(s.margin, 1.0E-5);
  EXPECT_EQ(equicolour_index(s, 42), 16);
  // A step of 1.0E-30 or less is no step either.
  const EquicolourScale tiny = equicolour_scale(0, 1.0E-28);
  EXPECT_EQ(tiny.margin, 1.0E-5);
  EXPECT_EQ(equicolour_index(tiny, 1.0E-28), 16);
  EXPECT_DOUBLE_EQ(equicolour_scale(0, 1.28E-27).margin, 1.0E-31);
}

}  // namespace
}  // namespace tambri
