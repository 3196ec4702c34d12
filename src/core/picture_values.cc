#include "core/picture_values.h"

#include <algorithm>
#include <cmath>

namespace tambri {

ValueRange picture_value_range(const Grid& grid, const NodeQuantity& quantity, bool logarithmic) {
  ValueRange r;
  const int nodes = std::min(grid.nodes(), kMaxNodes);
  for (int k = 1; k <= nodes; ++k) {
    const double v = picture_value(quantity, k, logarithmic);
    if (!std::isfinite(v)) continue;
    r.min = r.any ? std::min(r.min, v) : v;
    r.max = r.any ? std::max(r.max, v) : v;
    r.any = true;
  }
  return r;
}

}  // namespace tambri
