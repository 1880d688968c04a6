// Every number the writers put into a file is formatted here, in one of two forms:
//
// - the pattern form, `FormatOutputNumber`: a real through a digit pattern such as "#0.0###";
// - the print form, `print_form`: a number printed as it stands, with a leading blank or minus
//   sign and one trailing blank (" 8 ", "-.25 ").
//
// Neither form depends on the C or C++ locale: the digits come from std::to_chars, so the
// decimal separator is always a point. A decimal comma of the user's locale therefore never
// reaches an output file, and no comma-to-point replacement is needed afterwards.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace ostrel {

// Formats `value` with a digit pattern. In the pattern "0" is a digit always shown, "#" a digit
// shown only when significant, and "." the decimal point (at most one); other characters are
// ignored. The writers use fixed patterns of this kind, each named where it is used: a fixed
// number of decimals such as "0.000" or "#0.00", or one shown decimal and more when significant
// such as "0.0####" or "#0.0#######".
//
// The exact binary value is rounded to as many decimals as the pattern has digit places after
// the point, as printf's "%.Nf" does; then trailing zeros standing on "#" places are dropped,
// and the point too when no decimal is left ("#0.###" gives "2" for 2, not "2."). The integer
// part shows at least as many digits as the pattern has "0"s before the point ("00.0" gives
// "05.0" for 5; "#.##" gives ".5" for 0.5). Never an exponent. A value that rounds to zero has
// no minus sign. Examples with "#0.0###############": 2 -> "2.0", -0.5 -> "-0.5",
// 1/3 -> "0.3333333333333333". With "0.000": 0.9999 -> "1.000", -0.0001 -> "0.000".
// Infinities and NaN come out as "inf", "-inf" and "nan".
std::string FormatOutputNumber(double value, std::string_view pattern);

// FormatOutputNumber appended to `out`, for writers that build long lines.
void append_output_number(std::string& out, double value, std::string_view pattern);

// The print form of a number: a blank when the value is not negative, a minus sign otherwise,
// the value, one blank. Integers print all their digits: print_form(8) + print_form(6) +
// print_form(12) gives " 8  6  12 ".
//
// Reals show at most fifteen significant digits with no trailing zeros, no "0" before the point
// of a value below 1 (0.5 -> " .5 ", -0.25 -> "-.25 "), and print like integers when integral
// (2.0 -> " 2 "). The exponent form (mantissa, "E", sign, at least two exponent digits) is used
// when the decimal exponent of the value, after rounding to fifteen digits, is below -4 or is
// 15 or more: 0.0001 -> " .0001 ", 0.000015 -> " 1.5E-05 ", 999999999999999 ->
// " 999999999999999 ", 1e15 -> " 1E+15 ". Zero, also negative zero, prints as " 0 ".
std::string print_form(double value);
std::string print_form(long long value);

// Other integer types print as integers (without this, print_form(8) would be ambiguous).
template <std::integral Integer>
std::string print_form(Integer value) {
  return print_form(static_cast<long long>(value));
}

// print_form appended to `out`.
void append_print_form(std::string& out, double value);
void append_print_form(std::string& out, long long value);

template <std::integral Integer>
void append_print_form(std::string& out, Integer value) {
  append_print_form(out, static_cast<long long>(value));
}

}  // namespace ostrel
