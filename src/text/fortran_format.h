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

// Fw.d: fixed point; the leading zero of |value| < 1 is dropped when the field
// has no room for it (format_f(-0.5, 4, 2) == "-.50").
std::string format_f(double value, int width, int decimals);

// Iw: integer.
std::string format_i(long long value, int width);

// Right-aligns text in a field of `width` characters (counting UTF-8
// characters); longer text becomes asterisks, as Fortran does for numbers.
std::string right_align(const std::string& text, int width);

}  // namespace tambri
