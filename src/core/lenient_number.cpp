#include "core/lenient_number.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <string>

#include "core/run_error.h"

namespace ostrel {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The C locale, whatever the program's: a desktop program runs in the user's locale, where
// strtod would read "0.5" as 0 under a decimal comma.
locale_t c_locale() {
  static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

// A number as an error text, with a decimal point in any locale.
std::string point_text(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

double lenient_value(std::string_view text) {
  // Gather the leading numeric part with blanks squeezed out, then convert it.
  std::string number;
  std::size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && is_blank(text[i])) ++i;
  };
  skip_blanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    number += text[i++];
    skip_blanks();
  }
  bool digits = false;
  // Digits from i on into `out`, blanks between them skipped.
  auto take_digits = [&](std::size_t& at, std::string& out) {
    bool any = false;
    while (at < text.size() && (is_digit(text[at]) || is_blank(text[at]))) {
      if (is_digit(text[at])) {
        out += text[at];
        any = true;
      }
      ++at;
    }
    return any;
  };
  digits = take_digits(i, number);
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    digits = take_digits(i, number) || digits;
  }
  if (!digits) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    while (j < text.size() && is_blank(text[j])) ++j;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    if (take_digits(j, exponent)) number += exponent;
  }
  double value = ::strtod_l(number.c_str(), nullptr, c_locale());
  if (std::isinf(value)) throw_overflow_error(std::string(text));
  return value;
}

double round_half_even(double value) {
  double floor_value = std::floor(value);
  double fraction = value - floor_value;
  if (fraction > 0.5) return floor_value + 1.0;
  if (fraction < 0.5) return floor_value;
  return std::fmod(floor_value, 2.0) == 0.0 ? floor_value : floor_value + 1.0;
}

std::int16_t to_int16(double value, std::string_view what) {
  double rounded = round_half_even(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    throw_overflow_error(what.empty() ? point_text(value) : std::string(what));
  }
  return static_cast<std::int16_t>(rounded);
}

std::int32_t to_int32(double value, std::string_view what) {
  double rounded = round_half_even(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    throw_overflow_error(what.empty() ? point_text(value) : std::string(what));
  }
  return static_cast<std::int32_t>(rounded);
}

std::int16_t lenient_int16(std::string_view text) {
  return to_int16(lenient_value(text), text);
}

}  // namespace ostrel
