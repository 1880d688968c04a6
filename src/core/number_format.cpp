#include "core/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace ostrel {
namespace {

// What a digit pattern asks for.
struct PatternShape {
  int min_integer_digits = 0;  // "0"s before the point
  int min_decimals = 0;        // decimals up to and including the last "0" after the point
  int max_decimals = 0;        // digit places after the point
};

// Decimals beyond this are never asked for; it bounds the buffer below.
constexpr int kMostDecimals = 40;

PatternShape read_pattern(std::string_view pattern) {
  PatternShape shape;
  bool after_point = false;
  for (char c : pattern) {
    if (c == '.') {
      after_point = true;
    } else if (c == '0' || c == '#') {
      if (!after_point) {
        if (c == '0') ++shape.min_integer_digits;
      } else {
        ++shape.max_decimals;
        if (c == '0') shape.min_decimals = shape.max_decimals;
      }
    }
  }
  if (shape.max_decimals > kMostDecimals) shape.max_decimals = kMostDecimals;
  if (shape.min_decimals > shape.max_decimals) shape.min_decimals = shape.max_decimals;
  return shape;
}

bool all_zeros(std::string_view digits) {
  return digits.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace

void append_output_number(std::string& out, double value, std::string_view pattern) {
  const PatternShape shape = read_pattern(pattern);
  // The largest double has 309 integer digits.
  std::array<char, 320 + kMostDecimals> buffer;
  if (!std::isfinite(value)) {
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
    return;
  }
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, shape.max_decimals);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  std::string_view integer = text.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);

  while (fraction.size() > static_cast<std::size_t>(shape.min_decimals) && fraction.back() == '0') {
    fraction.remove_suffix(1);
  }
  if (all_zeros(integer) && all_zeros(fraction)) negative = false;  // no "-0.000"
  if (integer == "0" && shape.min_integer_digits == 0) integer = {};

  if (negative) out += '-';
  for (auto width = static_cast<int>(integer.size()); width < shape.min_integer_digits; ++width) {
    out += '0';
  }
  out += integer;
  if (!fraction.empty()) {
    out += '.';
    out += fraction;
  } else if (integer.empty() && shape.min_integer_digits == 0) {
    out += '0';  // "#.##" with zero: a lone digit rather than nothing
  }
}

std::string FormatOutputNumber(double value, std::string_view pattern) {
  std::string out;
  append_output_number(out, value, pattern);
  return out;
}

void append_print_form(std::string& out, double value) {
  if (value == 0.0) {  // negative zero too
    out += " 0 ";
    return;
  }
  std::array<char, 40> buffer;
  // "%.15G": fifteen significant digits, trailing zeros dropped, exponent form when the
  // decimal exponent is below -4 or at least 15, exponent with a sign and two digits or more.
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::general, 15);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

  if (!text.empty() && text.front() == '-') {
    out += '-';
    text.remove_prefix(1);
  } else {
    out += ' ';
  }
  if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.remove_prefix(1);  // ".5"
  for (char c : text) out += c == 'e' ? 'E' : c;
  out += ' ';
}

void append_print_form(std::string& out, long long value) {
  std::array<char, 24> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (value >= 0) out += ' ';
  out.append(buffer.data(), result.ptr);
  out += ' ';
}

std::string print_form(double value) {
  std::string out;
  append_print_form(out, value);
  return out;
}

std::string print_form(long long value) {
  std::string out;
  append_print_form(out, value);
  return out;
}

}  // namespace ostrel
