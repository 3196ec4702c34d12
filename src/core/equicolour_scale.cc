#include "core/equicolour_scale.h"

#include <cmath>

namespace tambri {
namespace {

constexpr double kLevelFraction = 0.0078125;  // 1 / 128
constexpr double kMarginFraction = 0.01;
constexpr double kSmallestStep = 1.0E-30;
constexpr double kConstantFieldMargin = 1.0E-5;

}  // namespace

EquicolourScale equicolour_scale(double min, double max) {
  EquicolourScale s;
  s.step = (max - min) * kLevelFraction;
  for (int k = 0; k < kEquicolourLevels; ++k) s.threshold[static_cast<size_t>(k)] = min + s.step * k;
  s.margin = std::fabs(s.step) > kSmallestStep ? kMarginFraction * std::fabs(s.step) : kConstantFieldMargin;
  return s;
}

int equicolour_index(const EquicolourScale& scale, double w) {
  // One pass over all levels: at most 201 x 201 values need no faster search.
  int index = kEquicolourLowestIndex;
  for (int k = 1; k <= kEquicolourLevels; ++k) {
    if (w > scale.threshold[static_cast<size_t>(k - 1)] + scale.margin) index = kEquicolourLowestIndex - 1 + k;
  }
  return index;
}

}  // namespace tambri
