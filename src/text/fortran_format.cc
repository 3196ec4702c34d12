#include "text/fortran_format.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/text_width.h"

namespace tambri {
namespace {

__extension__ using Uint128 = unsigned __int128;

constexpr int kFastMaxDecimals = 9;
constexpr uint64_t kFastLimit = 1'000'000'000'000'000'000ULL;  // 10^18: all digits in 64 bits
constexpr uint64_t kPow10[kFastMaxDecimals + 1] = {
    1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000,
};

// |value| * 10^decimals rounded to the nearest integer, an exact tie to the
// even one, which is how the C library rounds "%.*f" in the default rounding
// mode. A finite double is m * 2^e with an integer m below 2^53; for e <= 0
// the product m * 10^decimals (below 2^83) is shifted right by -e and the
// bits shifted out decide the rounding, so nothing is ever approximated.
// False when the value lies outside that range (|value| >= 2^53 or a result
// of 10^18 or more).
bool scaled_round(double value, int decimals, uint64_t& result) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int shift = (biased == 0 ? 1 : biased) - 1075;  // value = m * 2^shift
  if (shift > 0) return false;
  const Uint128 product = static_cast<Uint128>(m) * kPow10[decimals];
  const int s = -shift;
  Uint128 q;
  if (s == 0) {
    q = product;
  } else if (s >= 84) {
    q = 0;  // product < 2^83 <= half of 2^s
  } else {
    q = product >> s;
    const Uint128 rest = product & ((Uint128{1} << s) - 1);
    const Uint128 half = Uint128{1} << (s - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  }
  if (q >= kFastLimit) return false;
  result = static_cast<uint64_t>(q);
  return true;
}

// Room for "%.*f" of any value the integer path takes: sign, 18 digits, point.
constexpr size_t kFastText = 24;

// Writes "[-]i.ddd" ("[-]i" without decimals) as "%.*f" does, ending at `end`;
// returns its first character.
char* fixed_text(char* end, bool negative, uint64_t scaled, int decimals) {
  char* p = end;
  for (int k = 0; k < decimals; ++k) {
    *--p = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  }
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0);
  if (negative) *--p = '-';
  return p;
}

// The Fortran field around the text of "%.*f": the zero before the point goes
// when the field has no room for it, text still too long becomes asterisks.
void append_field(std::string& out, const char* text, size_t length, int width) {
  const size_t w = static_cast<size_t>(width);
  const size_t sign = text[0] == '-' ? 1 : 0;
  const size_t dropped =
      (length > w && length >= sign + 2 && text[sign] == '0' && text[sign + 1] == '.') ? 1 : 0;
  const size_t shown = length - dropped;
  if (shown > w) {
    out.append(w, '*');
    return;
  }
  out.append(w - shown, ' ');
  out.append(text, sign);
  out.append(text + sign + dropped, length - sign - dropped);
}

}  // namespace

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

void append_f(std::string& out, double value, int width, int decimals) {
  if (!std::isfinite(value)) {
    out.append(static_cast<size_t>(width), '*');
    return;
  }
  uint64_t scaled;
  if (decimals >= 0 && decimals <= kFastMaxDecimals && scaled_round(value, decimals, scaled)) {
    char buf[kFastText];
    char* const end = buf + sizeof buf;
    const char* text = fixed_text(end, std::signbit(value), scaled, decimals);
    append_field(out, text, static_cast<size_t>(end - text), width);
    return;
  }
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  append_field(out, buf, std::strlen(buf), width);
}

std::string format_f(double value, int width, int decimals) {
  std::string s;
  append_f(s, value, width, decimals);
  return s;
}

std::string format_i(long long value, int width) {
  return right_align(std::to_string(value), width);
}

}  // namespace tambri
