// Lenient reading of number texts, as typed into forms or written in input files:
// the leading numeric part counts, blanks inside it are ignored, anything after it is
// ignored, and a text without one reads as 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace ostrel {

// "12abc" -> 12, " 1 2.5" -> 12.5, "-3e2" -> -300, "abc" -> 0, "" -> 0.
// An exponent is "E" or "D" (either case) followed by an optional sign and digits.
double lenient_value(std::string_view text);

// Nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double round_half_even(double value);

// The value taken to the nearest integer (halves to even) that must fit 16 bits signed;
// outside -32768..32767 it throws the overflow run error (never wraps around).
std::int16_t to_int16(double value, std::string_view what = {});

// The same for 32 bits, for counters that are wider.
std::int32_t to_int32(double value, std::string_view what = {});

// lenient_value then to_int16.
std::int16_t lenient_int16(std::string_view text);

}  // namespace ostrel
