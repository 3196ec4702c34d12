#pragma once
// The values the pictures show at a node: the node quantity itself or its
// logarithm, and their range over the whole grid (not only the shown part, so
// a zoomed picture keeps the colours of the whole). Prints and draws nothing.
#include "core/node_quantity.h"
#include "model/structure_model.h"

namespace tambri {

// Keeps the logarithm of a zero finite: log10 gives -30.
inline constexpr double kPictureLogOffset = 1.0E-30;

// v, or with `logarithmic` log10(|a + 1.0E-30|) of a plain quantity and
// log10(root + 1.0E-30) of a magnitude. May be NaN or infinite when the
// arrays hold such values; callers skip those nodes.
inline double picture_value(const NodeQuantity& quantity, int k, bool logarithmic) {
  return logarithmic ? quantity.log_value(k, kPictureLogOffset) : quantity.value(k);
}

// The smallest and the largest of the finite values taken; `any` false (and
// both 0) while none was.
struct ValueRange {
  double min = 0, max = 0;
  bool any = false;

  // Widens the range to `v`; values that are not finite are passed over.
  void take(double v);
};

// The smallest and the largest finite picture value of nodes 1..nx*ny.
ValueRange picture_value_range(const Grid& grid, const NodeQuantity& quantity, bool logarithmic);

}  // namespace tambri
