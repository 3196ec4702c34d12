#include "core/mountain_view.h"

#include <cmath>

#include "core/span_widening.h"

namespace tambri {
namespace {

constexpr double kDepthSpan = 5.0;
constexpr double kMarginFraction = 0.01;
constexpr double kConstantFieldMargin = 1.0E-5;
constexpr int kLowestColour = 11;
// The height colours are cut from the 128-position ramp every 12.7 positions.
// The product is formed in single precision: 12.7f * 10 rounds to 127 there,
// while the double product lies just below it.
constexpr float kRampStride = 12.7f;

}  // namespace

MountainView mountain_view(double x1, double x2, double y1, double y2, double min, double max) {
  MountainView view;
  view.x1 = x1;
  view.sx = kMountainWidth / (widened_max(x1, x2, kMountainMinimumSpan) - x1);
  view.y1 = y1;
  view.sy = kDepthSpan / (widened_max(y1, y2, kMountainMinimumSpan) - y1);
  view.min = min;
  view.sz = kMountainHeight / (max - min);
  const double step = (max - min) / kMountainLevels;
  for (int k = 0; k < kMountainLevels; ++k) view.threshold[static_cast<size_t>(k)] = min + k * step;
  view.margin = std::fabs(step) > kMountainMinimumSpan ? kMarginFraction * std::fabs(step) : kConstantFieldMargin;
  return view;
}

int mountain_colour(const MountainView& view, double mean) {
  int colour = kLowestColour;
  for (int k = 1; k <= kMountainLevels; ++k) {
    if (mean > view.threshold[static_cast<size_t>(k - 1)] + view.margin) colour = kLowestColour + 1 - k;
  }
  return colour;
}

int height_ramp_position(int n) { return static_cast<int>(kRampStride * static_cast<float>(n)); }

}  // namespace tambri
