#pragma once
// The 128 colour levels of the equicolour picture: thresholds evenly spaced
// from the minimum, a small margin above each, and the palette index of a
// value (16 for the lowest level up to 143 for the highest). Prints and draws
// nothing.
#include <array>

namespace tambri {

inline constexpr int kEquicolourLevels = 128;
inline constexpr int kEquicolourLowestIndex = 16;    // palette index of level 1
inline constexpr int kEquicolourHighestIndex = 143;  // palette index of level 128

struct EquicolourScale {
  std::array<double, kEquicolourLevels> threshold{};  // T(0..127) = min + d k
  double step = 0;                                    // d = (max - min) / 128
  double margin = 0;                                  // 0.01 |d|, or 1.0E-5 when d is no more than 1.0E-30
};

EquicolourScale equicolour_scale(double min, double max);

// 15 + the largest k in 1..128 with w > T(k - 1) + margin, or 16 when there is
// none: the minimum gives 16, the maximum 143 (when max > min), a constant
// field 16 everywhere. A NaN gives 16; callers skip non-finite values.
int equicolour_index(const EquicolourScale& scale, double w);

}  // namespace tambri
