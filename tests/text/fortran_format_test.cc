#include "text/fortran_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
