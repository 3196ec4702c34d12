#include "core/picture_values.h"

#include <algorithm>
#include <cmath>

namespace tambri {

void ValueRange::take(double v) {
  if (!std::isfinite(v)) return;
  min = any ? std::min(min, v) : v;
  max = any ? std::max(max, v) : v;
  any = true;
}

ValueRange picture_value_range(const Grid& grid, const NodeQuantity& quantity, bool logarithmic) {
  ValueRange r;
  const int nodes = std::min(grid.nodes(), kMaxNodes);
  for (int k = 1; k <= nodes; ++k) r.take(picture_value(quantity, k, logarithmic));
  return r;
}

}  // namespace tambri
