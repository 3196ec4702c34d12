#pragma once
// Force-included into every browser compile. The C++ library that ships with
// Debian's Emscripten (3.1.6, libc++ of LLVM 14) lacks two C++20/17 pieces the
// program uses: std::bit_cast and std::to_chars for double (a double argument
// there silently picks the deleted bool overload). Both are supplied here with
// the meaning the standard gives them, so the program's sources stay as they are.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <type_traits>

#if defined(__EMSCRIPTEN__) && defined(_LIBCPP_VERSION) && !defined(__cpp_lib_bit_cast)
namespace std {

// The formatter here would break the requires clause apart.
// clang-format off
template <class To, class From>
  requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>)
constexpr To bit_cast(const From& from) noexcept {
  // clang-format on
  return __builtin_bit_cast(To, from);
}

// The shortest text that reads back as `value`, in fixed or scientific
// notation, whichever is shorter (fixed on a tie), as plain to_chars writes it.
inline to_chars_result to_chars(char* first, char* last, double value) {
  std::string text;
  if (std::isnan(value)) {
    text = std::signbit(value) ? "-nan" : "nan";
  } else if (std::isinf(value)) {
    text = value < 0 ? "-inf" : "inf";
  } else if (value == 0) {
    text = std::signbit(value) ? "-0" : "0";
  } else {
    // The fewest significant digits that round-trip.
    char sci[40];
    for (int precision = 0; precision <= 17; ++precision) {
      std::snprintf(sci, sizeof sci, "%.*e", precision, value);
      if (std::strtod(sci, nullptr) == value) break;
    }
    // sci is "[-]d[.ddd]e±xx": split it into sign, digits and exponent.
    const std::string s = sci;
    const bool negative = s[0] == '-';
    const std::size_t e_at = s.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e_at; ++i) {
      if (s[i] != '.') digits.push_back(s[i]);
    }
    const int exponent = std::atoi(s.c_str() + e_at + 1);
    const int n = static_cast<int>(digits.size());
    std::string scientific = digits.substr(0, 1);
    if (n > 1) scientific += "." + digits.substr(1);
    char exp_text[8];
    std::snprintf(exp_text, sizeof exp_text, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific += exp_text;
    std::string fixed;
    if (exponent >= n - 1) {
      // An integer in fixed notation is written with its exact digits, not
      // the shortest ones padded with zeros (same length either way).
      char exact[400];
      std::snprintf(exact, sizeof exact, "%.0f", std::fabs(value));
      fixed = exact;
    } else if (exponent >= 0) {
      fixed = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
              digits.substr(static_cast<std::size_t>(exponent + 1));
    } else {
      fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    text = (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
  }
  if (static_cast<std::size_t>(last - first) < text.size()) return {last, errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), errc{}};
}

}  // namespace std
#endif
