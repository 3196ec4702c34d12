#include "draw/palettes.h"

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

void set_line_palette(GraphicsSurface& surface) {
  static constexpr std::int32_t kLineColours[13] = {
      rgb(63, 0, 63), rgb(63, 0, 0),  rgb(63, 30, 0), rgb(63, 50, 0), rgb(55, 63, 0),  rgb(30, 63, 0), rgb(0, 45, 15),
      rgb(0, 30, 30), rgb(0, 15, 48), rgb(0, 0, 63),  rgb(30, 0, 30), rgb(30, 30, 30), rgb(0, 63, 0)};
  for (int k = 1; k <= 13; ++k) surface.gfx_set_palette_rgb(k, kLineColours[k - 1]);
}

}  // namespace tambri
