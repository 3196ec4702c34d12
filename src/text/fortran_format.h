#pragma once
// Fortran edit descriptors as the program's tables and messages use them.
// Every field is right-aligned in exactly `width` characters; a value that does
// not fit, and any NaN or infinity, prints as `width` asterisks.
#include <string>

namespace tambri {

// 1PEw.d: one digit before the point, d after, exponent E+dd (or +ddd when the
// exponent has three digits): format_e(-4.0, 10, 3) == "-4.000E+00".
std::string format_e(double value, int width, int decimals);

// 1PE10.3, the field of the program's tables and messages.
inline std::string format_e10(double value) { return format_e(value, 10, 3); }

// Fw.d: fixed point, correctly rounded (an exact tie goes to the even last
// digit); a negative value keeps its sign even when it rounds to zero, as does
// -0.0 ("-0.00"). The leading zero of |value| < 1 is dropped when the field
// has no room for it (format_f(-0.5, 4, 2) == "-.50"). Without decimals the
// field holds no point (format_f(12.3, 4, 0) == "  12").
std::string format_f(double value, int width, int decimals);

// The same field written into exactly `width` characters at `out` (none for
// a width of 0 or less); returns the end of the field. Up to 9 decimals and |value| * 10^decimals below 10^18 it is
// worked out exactly in integer arithmetic, without the C library's formatted
// output, for writers that build records in a buffer of their own.
char* put_f(char* out, double value, int width, int decimals);

// The same field appended to `out`.
void append_f(std::string& out, double value, int width, int decimals);

// Iw: integer.
std::string format_i(long long value, int width);

// Right-aligns text in a field of `width` characters (counting UTF-8
// characters); longer text becomes asterisks, as Fortran does for numbers.
std::string right_align(const std::string& text, int width);

}  // namespace tambri
