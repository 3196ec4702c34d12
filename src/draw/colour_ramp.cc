#include "draw/colour_ramp.h"

#include <algorithm>

namespace tambri {
namespace {

constexpr double kRampSlope = static_cast<double>(1.26f);
constexpr double kRampSteepSlope = static_cast<double>(2.34f);

int truncated(double v) { return std::min(static_cast<int>(v), 63); }

}  // namespace

std::int32_t ramp_colour(int t) {
  if (t <= 50) {
    const int c = truncated(t * kRampSlope);
    return rgb(0, c, 63 - c);
  }
  if (t <= 77) return rgb(truncated((t - 51) * kRampSteepSlope), 63, 0);
  return rgb(63, 63 - truncated((t - 78) * kRampSlope), 0);
}

void set_structure_palette(GraphicsSurface& surface) {
  for (int k = 1; k <= 9; ++k) surface.gfx_set_palette_rgb(k, ramp_colour(k <= 8 ? 15 * (k - 1) : 127));
  surface.gfx_set_palette_rgb(kStructureGreen, rgb(0, 63, 0));
  surface.gfx_set_palette_rgb(kStructureGrey, rgb(30, 30, 30));
}

}  // namespace tambri
