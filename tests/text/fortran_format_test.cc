#include "text/fortran_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/text_cases.h"

namespace tambri {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FortranFormat, EdgeCasesOfEveryEditDescriptor) {
  for (const test::CaseRow& c : test::read_cases("tests/text/data/fortran_format_cases.txt")) {
    const double value = test::number(c[1]);
    const int width = std::stoi(c[2]), decimals = std::stoi(c[3]);
    const std::string text = c[0] == "E"   ? format_e(value, width, decimals)
                             : c[0] == "F" ? format_f(value, width, decimals)
                                           : format_i(static_cast<long long>(value), width);
    EXPECT_EQ(text, c[4]) << c.where;
  }
  EXPECT_EQ(right_align("Wärme", 7), "  Wärme");  // characters, not bytes
  EXPECT_EQ(right_align("Wärme", 4), "****");
}

// The Fw.d field built on the C library's "%.*f", which rounds the exact
// binary value: an independent reference for the integer formatting.
std::string reference_f(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s(buf);
  const size_t zero = (s[0] == '-') ? 1 : 0;
  if (static_cast<int>(s.size()) > width && s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
  if (static_cast<int>(s.size()) > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
}

// Values around the places where a field's text changes (every tie m + 1/2
// in units of the last decimal, the largest value that still fits, the step
// from 0.999.. to 1.000..) and a few ulps around each, then random values,
// for the fields the writers use and fields at the ends of the integer range.
TEST(FortranFormat, FixedPointMatchesTheCLibraryAtEveryBoundaryAndAtRandom) {
  struct Field {
    int width, decimals;
  };
  constexpr Field kFields[] = {{9, 4}, {5, 2},  {4, 1},  {4, 2},  {10, 3}, {3, 2},
                               {6, 0}, {12, 9}, {21, 9}, {20, 1}, {22, 0}, {30, 12}};
  const auto check = [](const Field f, double v) {
    ASSERT_EQ(format_f(v, f.width, f.decimals), reference_f(v, f.width, f.decimals))
        << "F" << f.width << "." << f.decimals << " of " << std::hexfloat << v;
  };
  for (const Field f : kFields) {
    std::vector<double> base = {
        0.0,  1e-300, 5e-324, 2.2250738585072014e-308,           1.0, 0.5, 9007199254740993.0, 1e17,
        1e18, 1e19,   1e300,  std::numeric_limits<double>::max()};
    const double unit = std::pow(10.0, -f.decimals);
    for (int digits = 0; digits <= f.width; ++digits) {
      for (double v :
           {std::pow(10.0, digits) - unit / 2, std::pow(10.0, digits) - unit, std::pow(10.0, digits - f.decimals) / 2})
        base.push_back(v);
    }
    // Exact ties (an odd number of halves) and decimal ties (mostly inexact).
    for (int odd = 1; odd < 4000; odd += 2) base.push_back(odd * std::ldexp(1.0, -(f.decimals + 1)));
    for (int odd = 1; odd < 2000; odd += 38) base.push_back(std::ldexp(odd, 40));
    for (int k = 0; k < 2000; ++k) base.push_back((k + 0.5) * unit);
    for (double v : base) {
      double up = v, down = v;
      for (int k = 0; k < 3; ++k, up = std::nextafter(up, kInf), down = std::nextafter(down, -kInf))
        for (double x : {up, down, -up, -down}) check(f, x);
    }
  }
  std::mt19937_64 random(20240611);
  std::uniform_int_distribution<int> exponent(-40, 70);  // 1e-12 .. 1e21
  std::uniform_int_distribution<uint64_t> mantissa(0, (uint64_t{1} << 52) - 1);
  for (int n = 0; n < 60000; ++n) {
    const double v = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa(random)), -52), exponent(random));
    const double d = static_cast<double>(mantissa(random) % 100000000) * 1e-4;  // short, like coordinates
    for (const Field f : kFields)
      for (double x : {v, -v, d, -d}) check(f, x);
  }
}

TEST(FortranFormat, FieldsInPlaceTakeExactlyTheirWidth) {
  std::string record = "x";
  for (const auto& [v, w, d] : {std::tuple{1.5, 5, 2}, {-0.5, 4, 2}, {kInf, 3, 1}, {2.0, 2, 1}, {2.0, 0, 1}})
    append_f(record, v, w, d);
  EXPECT_EQ(record, "x 1.50-.50*****");
  // put_f writes its field and nothing around it, on both of its paths.
  for (const double v : {-0.5, 12345.678, 1e300, kNan, -1e-300}) {
    char buf[40];
    std::fill(std::begin(buf), std::end(buf), '#');
    ASSERT_EQ(put_f(buf + 3, v, 12, 4), buf + 15);
    EXPECT_EQ(std::string(buf, 40), "###" + format_f(v, 12, 4) + std::string(25, '#'));
    EXPECT_EQ(put_f(buf, v, -1, 4), buf);
  }
}

}  // namespace
}  // namespace tambri
