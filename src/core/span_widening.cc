#include "core/span_widening.h"

#include <cmath>
#include <limits>

namespace tambri {

double widened_max(double min, double max, double minimum_span) {
  if (!(std::fabs(max - min) <= minimum_span)) return max;
  const double widened = min + minimum_span;
  return widened != min ? widened : std::nextafter(min, std::numeric_limits<double>::infinity());
}

}  // namespace tambri
