#include "draw/palettes.h"

#include <gtest/gtest.h>

namespace tambri {
namespace {

TEST(ColourRamp, SinglePrecisionFactorsAndTruncationGiveTheKnownEntries) {
  EXPECT_EQ(ramp_colour(0), rgb(0, 0, 63));
  EXPECT_EQ(ramp_colour(50), rgb(0, 62, 1));  // 50 * 1.26f truncates to 62
  EXPECT_EQ(ramp_colour(51), rgb(0, 63, 0));
  EXPECT_EQ(ramp_colour(77), rgb(60, 63, 0));
  EXPECT_EQ(ramp_colour(78), rgb(63, 63, 0));
  EXPECT_EQ(ramp_colour(127), rgb(63, 2, 0));
}

TEST(LinePalette, HoldsTheThirteenLineColours) {
  GraphicsSurface surface;
  set_line_palette(surface);
  EXPECT_EQ(surface.palette()[2], static_cast<std::uint32_t>(rgb(63, 0, 0)));
  EXPECT_EQ(surface.palette()[4], static_cast<std::uint32_t>(rgb(63, 50, 0)));
  EXPECT_EQ(surface.palette()[10], static_cast<std::uint32_t>(rgb(0, 0, 63)));
  EXPECT_EQ(surface.palette()[12], static_cast<std::uint32_t>(rgb(30, 30, 30)));
  EXPECT_EQ(surface.palette()[13], static_cast<std::uint32_t>(rgb(0, 63, 0)));
}

}  // namespace
}  // namespace tambri
