#include "text/fortran_format.h"

#include <algorithm>
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
constexpr uint64_t kPow10[19] = {
    1ULL,
    10ULL,
    100ULL,
    1000ULL,
    10000ULL,
    100000ULL,
    1000000ULL,
    10000000ULL,
    100000000ULL,
    1000000000ULL,
    10000000000ULL,
    100000000000ULL,
    1000000000000ULL,
    10000000000000ULL,
    100000000000000ULL,
    1000000000000000ULL,
    10000000000000000ULL,
    100000000000000000ULL,
    1000000000000000000ULL,
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
  if (q >= kPow10[18]) return false;
  result = static_cast<uint64_t>(q);
  return true;
}

// How the text of "%.*f" ("[-]i.ddd", `length` characters) sits in a field
// of `width`: the zero before the point is left out when the field has no
// room for it, and text still too long becomes asterisks.
struct Layout {
  bool drop_zero;
  size_t shown;
  bool fits;
};

Layout layout(size_t length, bool zero_before_point, size_t width) {
  const bool drop = length > width && zero_before_point;
  const size_t shown = length - (drop ? 1 : 0);
  return {drop, shown, shown <= width};
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the digits of n so that they end at p; returns their first character.
template <typename Uint>
char* integer_digits(char* p, Uint n) {
  while (n >= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (n % 100), 2);
    n /= 100;
  }
  if (n >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * n, 2);
  } else {
    *--p = static_cast<char>('0' + n);
  }
  return p;
}

// The field of scaled / 10^D with sign `negative`, written right to left into
// out[0, width). One instance per number of decimals, so that every division
// is by a constant.
template <int D>
void put_scaled(char* out, size_t width, bool negative, uint64_t scaled) {
  const uint64_t whole = scaled / kPow10[D];
  size_t whole_digits = 1;
  while (whole_digits < 19 && whole >= kPow10[whole_digits]) ++whole_digits;
  const size_t length = (negative ? 1 : 0) + whole_digits + (D > 0 ? D + 1 : 0);
  const Layout l = layout(length, D > 0 && whole == 0, width);
  if (!l.fits) {
    std::fill(out, out + width, '*');
    return;
  }
  char* p = out + width;
  if constexpr (D > 0) {
    auto part = static_cast<uint32_t>(scaled % kPow10[D]);
    for (int k = 0; k + 2 <= D; k += 2) {
      p -= 2;
      std::memcpy(p, kDigitPairs + 2 * (part % 100), 2);
      part /= 100;
    }
    if (D % 2 == 1) *--p = static_cast<char>('0' + part);
    *--p = '.';
  }
  if (!l.drop_zero) {
    p = whole <= UINT32_MAX ? integer_digits(p, static_cast<uint32_t>(whole)) : integer_digits(p, whole);
  }
  if (negative) *--p = '-';
  std::fill(out, p, ' ');
}

using ScaledWriter = void (*)(char*, size_t, bool, uint64_t);
constexpr ScaledWriter kScaledWriters[kFastMaxDecimals + 1] = {
    put_scaled<0>, put_scaled<1>, put_scaled<2>, put_scaled<3>, put_scaled<4>,
    put_scaled<5>, put_scaled<6>, put_scaled<7>, put_scaled<8>, put_scaled<9>,
};

// The same field from the C library's "%.*f", for the values the integer
// path does not take. Kept out of line: its buffer would otherwise weigh on
// every call.
[[gnu::noinline]] void put_printed(char* out, size_t width, double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  const size_t length = std::strlen(text);
  const size_t sign = text[0] == '-' ? 1 : 0;
  const Layout l = layout(length, length >= sign + 2 && text[sign] == '0' && text[sign + 1] == '.', width);
  if (!l.fits) {
    std::fill(out, out + width, '*');
    return;
  }
  char* p = std::fill_n(out, width - l.shown, ' ');
  p = std::copy_n(text, sign, p);
  const size_t skip = sign + (l.drop_zero ? 1 : 0);
  std::copy(text + skip, text + length, p);
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

char* put_f(char* out, double value, int width, int decimals) {
  if (width <= 0) return out;
  const auto w = static_cast<size_t>(width);
  uint64_t scaled;
  if (!std::isfinite(value)) {
    std::fill(out, out + w, '*');
  } else if (decimals >= 0 && decimals <= kFastMaxDecimals && scaled_round(value, decimals, scaled)) {
    kScaledWriters[decimals](out, w, std::signbit(value), scaled);
  } else {
    put_printed(out, w, value, decimals);
  }
  return out + w;
}

void append_f(std::string& out, double value, int width, int decimals) {
  if (width <= 0) return;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(width));
  put_f(out.data() + at, value, width, decimals);
}

std::string format_f(double value, int width, int decimals) {
  std::string s;
  append_f(s, value, width, decimals);
  return s;
}

std::string format_i(long long value, int width) { return right_align(std::to_string(value), width); }

}  // namespace tambri
