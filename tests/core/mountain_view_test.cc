#include "core/mountain_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tambri {
namespace {

TEST(MountainView, DepthConstantsComeFromTheSinglePrecisionRoot) {
  EXPECT_EQ(kMountainRoot2, 1.414199948310852);
  EXPECT_DOUBLE_EQ(kMountainDepth, 3.535567941415991);
  EXPECT_DOUBLE_EQ(10 + kMountainDepth, 13.53556794141599);
}

TEST(MountainView, CornersOfTheRegionLandOnTheBox) {
  // x 0.2..0.6, y 1..3, values -5..15.
  const MountainView v = mountain_view(0.2, 0.6, 1, 3, -5, 15);
  const double d = kMountainDepth;
  EXPECT_DOUBLE_EQ(v.h(0.2, 1), 0);
  EXPECT_DOUBLE_EQ(v.v(-5, 1), 0);
  EXPECT_DOUBLE_EQ(v.h(0.6, 1), 10);
  EXPECT_DOUBLE_EQ(v.v(15, 1), 10);
  EXPECT_DOUBLE_EQ(v.h(0.2, 3), d);
  EXPECT_DOUBLE_EQ(v.v(-5, 3), d);
  EXPECT_DOUBLE_EQ(v.h(0.6, 3), 10 + d);
  EXPECT_DOUBLE_EQ(v.v(15, 3), 10 + d);
  // Halfway in depth and height.
  EXPECT_DOUBLE_EQ(v.h(0.4, 2), 5 + d / 2);
  EXPECT_DOUBLE_EQ(v.v(5, 2), 5 + d / 2);
}

TEST(MountainView, ElevenLevelsFromTheFloorColourToTheTopColour) {
  // 0..110: step 10, thresholds 0, 10, ..., 100, margin 0.1.
  const MountainView v = mountain_view(0, 1, 0, 1, 0, 110);
  EXPECT_DOUBLE_EQ(v.margin, 0.1);
  EXPECT_EQ(v.threshold[10], 100);
  EXPECT_EQ(mountain_colour(v, 0), 11);
  EXPECT_EQ(mountain_colour(v, 10.05), 11);
  EXPECT_EQ(mountain_colour(v, 10.2), 10);
  EXPECT_EQ(mountain_colour(v, 55), 6);
  EXPECT_EQ(mountain_colour(v, 100.2), 1);
  EXPECT_EQ(mountain_colour(v, 110), 1);
  EXPECT_EQ(mountain_colour(v, std::nan("")), 11);
  // One corner at the top and three on the floor: the mean is a quarter up.
  EXPECT_EQ(mountain_colour(v, (110 + 0 + 0 + 0) * 0.25), 9);
}

TEST(MountainView, ZeroExtentsAreWidenedSoEveryScaleIsFinite) {
  const MountainView line = mountain_view(0.05, 0.05, 0.3, 0.3, 100, std::nextafter(100.0, 200.0));
  EXPECT_TRUE(std::isfinite(line.sx) && line.sx > 0);
  EXPECT_TRUE(std::isfinite(line.sy) && line.sy > 0);
  EXPECT_TRUE(std::isfinite(line.sz) && line.sz > 0);
  EXPECT_EQ(line.v(100, 0.3), 0);  // a constant field stands on the floor
  EXPECT_EQ(mountain_colour(line, 100), 11);
  const MountainView at_zero = mountain_view(0, 0, 0, 0, 0, 1.0E-30);
  EXPECT_EQ(at_zero.sx, 1.0E31);
  EXPECT_EQ(at_zero.margin, 1.0E-5);
}

TEST(MountainView, HeightColoursAreCutFromTheRampEveryTwelvePointSevenPositions) {
  const int expected[] = {0, 12, 25, 38, 50, 63, 76, 88, 101, 114, 127};
  for (int n = 0; n <= 10; ++n) EXPECT_EQ(height_ramp_position(n), expected[n]) << n;
}

}  // namespace
}  // namespace tambri
