#pragma once
// The numbers of the mountain picture: the oblique projection of a node
// value onto the 15 x 15 world (one unit = one centimetre on the page), the
// 11 height levels of its facets and the ramp positions of their colours.
// Prints and draws nothing.
//
// The grid's x runs across, its y into the depth at 45 degrees and the value
// upward: a point (x, y) with height w lies at
//   H = sx (x - x1) + s(y),  V = sz (w - min) + s(y),  s(y) = sy (y - y1) / r
// with sx = 10 / (x2 - x1), sy = 5 / (y2 - y1), sz = 10 / (max - min) and r
// the single-precision 1.4142. So the floor is 10 units wide, the depth
// reaches D = 5 / r at y2, and the highest value stands 10 above the floor.
#include <array>

namespace tambri {

inline constexpr double kMountainRoot2 = static_cast<double>(1.4142f);
// The depth shift at the back, D; the box uses it as a constant.
inline constexpr double kMountainDepth = 5.0 / kMountainRoot2;
inline constexpr double kMountainWidth = 10.0;
inline constexpr double kMountainHeight = 10.0;
// Extents and value spans at or below this are widened before the scales
// divide by them.
inline constexpr double kMountainMinimumSpan = 1.0E-30;
inline constexpr int kMountainLevels = 11;

struct MountainView {
  double x1 = 0, sx = 0;
  double y1 = 0, sy = 0;
  double min = 0, sz = 0;
  std::array<double, kMountainLevels> threshold{};  // T(k) = min + k (max - min) / 11
  double margin = 0;                                // 0.01 |step|, or 1.0E-5 when the step is no more than 1.0E-30

  double depth(double y) const { return sy * (y - y1) / kMountainRoot2; }
  double h(double x, double y) const { return sx * (x - x1) + depth(y); }
  double v(double w, double y) const { return sz * (w - min) + depth(y); }
};

// The view of the region x1..x2, y1..y2 for values min..max; an extent of no
// more than 1.0E-30 is widened (see widened_max), the value span is taken as
// given (the caller widens it before showing it).
MountainView mountain_view(double x1, double x2, double y1, double y2, double min, double max);

// The palette index of a facet whose corners have the mean `mean`: 11 for
// the lowest level, 12 - k for the largest k in 1..11 with
// mean > T(k - 1) + margin, so 1 for the highest. NaN gives 11.
int mountain_colour(const MountainView& view, double mean);

// The ramp position (0..127) of the height colour n = 0..10, which the
// palette index 11 - n shows: trunc(12.7 n) with the product in single
// precision, so n = 10 gives 127.
int height_ramp_position(int n);

}  // namespace tambri
