#include "text/fortran_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tambri {
namespace {

// Reference strings were produced by gfortran with the same edit descriptors.
TEST(FortranFormat, ScientificWithScaleFactorOne) {
  EXPECT_EQ(format_e(-4.0, 10, 3), "-4.000E+00");
  EXPECT_EQ(format_e(0.01, 10, 3), " 1.000E-02");
  EXPECT_EQ(format_e(0.0, 10, 3), " 0.000E+00");
  EXPECT_EQ(format_e(-0.0, 10, 3), "-0.000E+00");
  EXPECT_EQ(format_e(9.9995, 10, 3), " 9.999E+00");  // binary value lies below the tie
  EXPECT_EQ(format_e(0.01, 8, 1), " 1.0E-02");
  EXPECT_EQ(format_e(-0.0125, 9, 2), "-1.25E-02");
  EXPECT_EQ(format_e(1.25e-2, 9, 2), " 1.25E-02");
}

TEST(FortranFormat, ThreeDigitExponentDropsTheLetter) {
  EXPECT_EQ(format_e(1e100, 10, 3), " 1.000+100");
  EXPECT_EQ(format_e(-1e-100, 10, 3), "-1.000-100");
  EXPECT_EQ(format_e(4.9999999e-310, 10, 3), " 5.000-310");
}

TEST(FortranFormat, FixedPoint) {
  EXPECT_EQ(format_f(1.55, 4, 2), "1.55");
  EXPECT_EQ(format_f(0.5, 4, 2), "0.50");
  EXPECT_EQ(format_f(0.5, 3, 2), ".50");
  EXPECT_EQ(format_f(-0.5, 4, 2), "-.50");
  EXPECT_EQ(format_f(-0.001, 5, 2), "-0.00");
  EXPECT_EQ(format_f(0.05, 4, 1), " 0.1");
  EXPECT_EQ(format_f(0.25, 4, 1), " 0.2");  // exact tie rounds to even
  EXPECT_EQ(format_f(0.125, 5, 2), " 0.12");
  EXPECT_EQ(format_f(12.5, 9, 4), "  12.5000");
}

TEST(FortranFormat, OverflowAndNonFiniteGiveAsterisks) {
  EXPECT_EQ(format_f(10.0, 4, 2), "****");
  EXPECT_EQ(format_f(12345.6, 9, 4), "*********");
  EXPECT_EQ(format_i(1000, 3), "***");
  EXPECT_EQ(format_i(-100, 3), "***");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(format_e(nan, 10, 3), "**********");
  EXPECT_EQ(format_e(-inf, 10, 3), "**********");
  EXPECT_EQ(format_f(inf, 9, 4), "*********");
}

TEST(FortranFormat, FixedPointWithoutDecimalsHasNoPoint) {
  EXPECT_EQ(format_f(12.3, 4, 0), "  12");
  EXPECT_EQ(format_f(2.5, 3, 0), "  2");
  EXPECT_EQ(format_f(-0.4, 3, 0), " -0");
}

// The Fw.d field built on the C library's "%.*f", which rounds the exact
// binary value: the reference the integer formatting must match.
std::string reference_f(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s(buf);
  if (static_cast<int>(s.size()) > width) {
    const size_t zero = (s[0] == '-') ? 1 : 0;
    if (s.compare(zero, 2, "0.") == 0) s.erase(zero, 1);
  }
  if (static_cast<int>(s.size()) > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
}

struct Field {
  int width, decimals;
};

// The fields the PostScript writer and the tables use, plus fields that reach
// the ends of the integer range (9 decimals, 18 digits) and beyond it.
constexpr Field kFields[] = {{9, 4}, {5, 2}, {4, 1}, {4, 2}, {10, 3}, {3, 2}, {6, 0},
                             {12, 9}, {21, 9}, {20, 1}, {22, 0}, {30, 12}};

// Values around the places where a field's text changes: every exact tie
// m + 1/2 in units of the last decimal, the largest value that still fits,
// the step from 0.999.. to 1.000.., and a few ulps around each.
std::vector<double> boundary_values(int width, int decimals) {
  std::vector<double> base = {0.0, 1e-300, 5e-324, 2.2250738585072014e-308, 1.0, 0.5,
                              9007199254740992.0, 9007199254740993.0, 1e17, 1e18, 1e19, 1e300,
                              std::numeric_limits<double>::max()};
  const double unit = std::pow(10.0, -decimals);
  for (int digits = 0; digits <= width; ++digits) {
    base.push_back(std::pow(10.0, digits) - unit / 2);  // 9.99995 rounds up to 10.0000
    base.push_back(std::pow(10.0, digits) - unit);
    base.push_back(std::pow(10.0, digits - decimals) / 2);
  }
  // Exact ties: odd / 2^(d+1) times 10^d is an odd number of halves.
  const double tie_step = std::ldexp(1.0, -(decimals + 1));
  for (int odd = 1; odd < 4000; odd += 2) base.push_back(odd * tie_step);
  for (int odd = 1; odd < 2000; odd += 38) base.push_back(std::ldexp(odd, 40));
  for (int k = 0; k < 2000; ++k) base.push_back((k + 0.5) * unit);  // ties as decimals, mostly inexact
  std::vector<double> out;
  for (double v : base) {
    double up = v, down = v;
    for (int k = 0; k < 3; ++k) {
      out.push_back(up);
      out.push_back(down);
      up = std::nextafter(up, INFINITY);
      down = std::nextafter(down, -INFINITY);
    }
  }
  const size_t positive = out.size();
  for (size_t k = 0; k < positive; ++k) out.push_back(-out[k]);
  return out;
}

TEST(FortranFormat, FixedPointMatchesTheCLibraryAtEveryBoundary) {
  for (const Field f : kFields) {
    for (double v : boundary_values(f.width, f.decimals)) {
      ASSERT_EQ(format_f(v, f.width, f.decimals), reference_f(v, f.width, f.decimals))
          << "F" << f.width << "." << f.decimals << " of " << std::hexfloat << v;
    }
  }
}

TEST(FortranFormat, FixedPointMatchesTheCLibraryForRandomValues) {
  std::mt19937_64 random(20240611);
  std::uniform_int_distribution<int> exponent(-40, 70);  // 1e-12 .. 1e21
  std::uniform_int_distribution<uint64_t> mantissa(0, (uint64_t{1} << 52) - 1);
  for (int n = 0; n < 60000; ++n) {
    const double v = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa(random)), -52), exponent(random));
    // A value with a short decimal expansion as well, like most coordinates.
    const double d = static_cast<double>(mantissa(random) % 100000000) * 1e-4;
    for (const Field f : kFields) {
      for (double x : {v, -v, d, -d}) {
        ASSERT_EQ(format_f(x, f.width, f.decimals), reference_f(x, f.width, f.decimals))
            << "F" << f.width << "." << f.decimals << " of " << std::hexfloat << x;
      }
    }
  }
}

TEST(FortranFormat, FixedPointEdgeValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(format_f(-0.0, 9, 4), "  -0.0000");
  EXPECT_EQ(format_f(-1e-300, 9, 4), "  -0.0000");
  EXPECT_EQ(format_f(-0.00005, 9, 4), "  -0.0001");  // just above the tie in binary
  EXPECT_EQ(format_f(0.00015, 9, 4), "   0.0001");   // just below it
  // In binary 9999.99995 lies just below the tie, 999.99995 and 0.99995 just above.
  EXPECT_EQ(format_f(9999.99995, 9, 4), "9999.9999");
  EXPECT_EQ(format_f(9999.99996, 9, 4), "*********");
  EXPECT_EQ(format_f(-999.99995, 9, 4), "*********");
  EXPECT_EQ(format_f(-999.99994, 9, 4), "-999.9999");
  EXPECT_EQ(format_f(-0.99994, 6, 4), "-.9999");
  EXPECT_EQ(format_f(-0.99995, 6, 4), "******");  // -1.0000 has no zero to drop
  EXPECT_EQ(format_f(nan, 5, 2), "*****");
  EXPECT_EQ(format_f(-inf, 4, 1), "****");
  EXPECT_EQ(format_f(1e300, 9, 4), "*********");
}

TEST(FortranFormat, FieldsInPlaceTakeExactlyTheirWidth) {
  std::string record = "x";
  append_f(record, 1.5, 5, 2);
  append_f(record, -0.5, 4, 2);
  append_f(record, INFINITY, 3, 1);
  append_f(record, 2.0, 2, 1);
  append_f(record, 2.0, 0, 1);
  EXPECT_EQ(record, "x 1.50-.50*****");

  // put_f writes its field and nothing around it, on both of its paths.
  for (const double v : {-0.5, 12345.678, 1e300, std::nan(""), -1e-300}) {
    char buf[40];
    std::fill(std::begin(buf), std::end(buf), '#');
    char* end = put_f(buf + 3, v, 12, 4);
    ASSERT_EQ(end, buf + 15);
    EXPECT_EQ(std::string(buf, 3), "###");
    EXPECT_EQ(std::string(buf + 3, 12), format_f(v, 12, 4));
    EXPECT_EQ(std::string(buf + 15, 25), std::string(25, '#'));
    EXPECT_EQ(put_f(buf, v, -1, 4), buf);
  }
}

TEST(FortranFormat, Integers) {
  EXPECT_EQ(format_i(-5, 3), " -5");
  EXPECT_EQ(format_i(201, 3), "201");
  EXPECT_EQ(format_i(7, 1), "7");
}

TEST(FortranFormat, RightAlignCountsCharactersNotBytes) {
  EXPECT_EQ(right_align("Wärme", 7), "  Wärme");
  EXPECT_EQ(right_align("Wärme", 4), "****");
}

}  // namespace
}  // namespace tambri
