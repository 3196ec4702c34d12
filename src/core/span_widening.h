#pragma once
// A range that must not be empty before something divides by its span (a
// picture scale, a level step). Prints and draws nothing.

namespace tambri {

// `max` unchanged when it lies more than `minimum_span` from `min`; otherwise
// min + minimum_span, or the next double above min where that sum rounds back
// to min (100 + 1.0E-15 == 100), so the span is never zero. A non-finite
// `max` is returned as it is.
double widened_max(double min, double max, double minimum_span);

}  // namespace tambri
