#include "text/fortran_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "text/text_width.h"

namespace tambri {

std::string right_align(const std::string& text, int width) {
  const int len = utf8_length(text);
  if (len > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width - len), ' ') + text;
}

std::string format_e(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", decimals, value);
  std::string s(buf);
  const size_t e = s.find('E');
  const int exponent = std::atoi(s.c_str() + e + 1);
  const std::string mantissa = s.substr(0, e);
  char exp_buf[16];
  if (std::abs(exponent) <= 99) {
    std::snprintf(exp_buf, sizeof exp_buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  } else if (std::abs(exponent) <= 999) {
    std::snprintf(exp_buf, sizeof exp_buf, "%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
  } else {
    return std::string(static_cast<size_t>(width), '*');
  }
  return right_align(mantissa + exp_buf, width);
}

std::string format_f(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s(buf);
  if (static_cast<int>(s.size()) > width) {
    // Fortran may leave out the zero before the point to make the value fit.
    const size_t zero = (s[0] == '-') ? 1 : 0;
    if (s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
  }
  return right_align(s, width);
}

std::string format_i(long long value, int width) {
  return right_align(std::to_string(value), width);
}

}  // namespace tambri
