#include "draw/palettes.h"

#include <gtest/gtest.h>

#include <array>

namespace tambri {
namespace {

TEST(ColourRamp, SinglePrecisionFactorsAndTruncationGiveTheKnownEntries) {
  // 50 * 1.26f truncates to 62.
  for (const auto& [k, r, g, b] :
       {std::array{0, 0, 0, 63}, {50, 0, 62, 1}, {51, 0, 63, 0}, {77, 60, 63, 0}, {78, 63, 63, 0}, {127, 63, 2, 0}}) {
    EXPECT_EQ(ramp_colour(k), rgb(r, g, b)) << k;
  }
}

}  // namespace
}  // namespace tambri
