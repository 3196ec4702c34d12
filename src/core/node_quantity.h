#pragma once
// A node quantity as the result pictures receive it: one array alone, or the
// magnitude of a pair of arrays (a vector's two components), with its name.
#include <cmath>
#include <string_view>

#include "core/field_arrays.h"

namespace tambri {

struct NodeQuantity {
  const NodeArray* first = nullptr;
  const NodeArray* second = nullptr;  // needed only with `magnitude`
  bool magnitude = false;
  std::string_view name;  // shown in a 25-character field

  // The value at node k: first(k), or the root of first(k)^2 + second(k)^2.
  double value(int k) const {
    const double a = (*first)[k];
    if (!magnitude) return a;
    const double b = (*second)[k];
    return std::sqrt(a * a + b * b);
  }

  // The logarithmic value with `offset` keeping zeros finite:
  // log10(|a + offset|) of a plain value, log10(root + offset) of a magnitude.
  double log_value(int k, double offset) const {
    return magnitude ? std::log10(value(k) + offset) : std::log10(std::fabs((*first)[k] + offset));
  }
};

// The two components of a vector quantity, for the arrow picture.
struct VectorQuantity {
  const NodeArray* x = nullptr;  // component along the structure's x
  const NodeArray* y = nullptr;
  std::string_view name;
};

}  // namespace tambri
