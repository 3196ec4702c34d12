#include "core/mountain_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tambri {
namespace {

// The depth offset is 10 / (2 root 2) with the root in single precision
// (1.414199948310852).
TEST(MountainView, CornersOfTheRegionLandOnTheBox) {
  const double d = 3.535567941415991;
  EXPECT_DOUBLE_EQ(kMountainDepth, d);
  // x 0.2..0.6, y 1..3, values -5..15: front corners at 0 and 10, back ones
  // shifted by the depth, the middle halfway.
  const MountainView v = mountain_view(0.2, 0.6, 1, 3, -5, 15);
  const double cases[][4] = {
      {0.2, -5, 1, 0}, {0.6, 15, 1, 10}, {0.2, -5, 3, d}, {0.6, 15, 3, 10 + d}, {0.4, 5, 2, 5 + d / 2}};
  for (const auto& [x, value, y, at] : cases) {
    EXPECT_DOUBLE_EQ(v.h(x, y), at) << x << " " << y;
    EXPECT_DOUBLE_EQ(v.v(value, y), at) << value << " " << y;
  }
}

TEST(MountainView, ElevenLevelsFromTheFloorColourToTheTopColour) {
  // 0..110: step 10, thresholds 0, 10, ..., 100, margin 0.1.
  const MountainView v = mountain_view(0, 1, 0, 1, 0, 110);
  EXPECT_DOUBLE_EQ(v.margin, 0.1);
  const std::pair<double, int> cases[] = {{0, 11}, {10.05, 11}, {10.2, 10}, {27.5, 9},
                                          {55, 6}, {100.2, 1},  {110, 1},   {std::nan(""), 11}};
  for (const auto& [value, colour] : cases) EXPECT_EQ(mountain_colour(v, value), colour) << value;
  const int ramp[] = {0, 12, 25, 38, 50, 63, 76, 88, 101, 114, 127};  // every 12.7 positions
  for (int n = 0; n <= 10; ++n) EXPECT_EQ(height_ramp_position(n), ramp[n]) << n;
}

TEST(MountainView, ZeroExtentsAreWidenedSoEveryScaleIsFinite) {
  const MountainView line = mountain_view(0.05, 0.05, 0.3, 0.3, 100, std::nextafter(100.0, 200.0));
  for (double scale : {line.sx, line.sy, line.sz}) EXPECT_TRUE(std::isfinite(scale) && scale > 0);
  EXPECT_EQ(line.v(100, 0.3), 0);  // a constant field stands on the floor
  EXPECT_EQ(mountain_colour(line, 100), 11);
  const MountainView at_zero = mountain_view(0, 0, 0, 0, 0, 1.0E-30);
  EXPECT_EQ(at_zero.sx, 1.0E31);
  EXPECT_EQ(at_zero.margin, 1.0E-5);
}

}  // namespace
}  // namespace tambri
