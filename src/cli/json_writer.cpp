#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace ostrel::cli {

std::string json_escape(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte >= 0x80) {
          // Input files are single-byte text: bytes above 127 are written as the code points
          // of the same number (Latin-1), so the output stays valid JSON.
          static const char* kHex = "0123456789abcdef";
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 15];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void JsonWriter::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_in_level_.empty()) {
    if (!first_in_level_.back()) out_ += ",";
    first_in_level_.back() = false;
  }
}

JsonWriter& JsonWriter::begin_object() {
  before_value();
  out_ += "{";
  first_in_level_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::end_object() {
  first_in_level_.pop_back();
  out_ += "}";
  return *this;
}

JsonWriter& JsonWriter::begin_array() {
  before_value();
  out_ += "[";
  first_in_level_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::end_array() {
  first_in_level_.pop_back();
  out_ += "]";
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  before_value();
  out_ += json_escape(name);
  out_ += ":";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
  before_value();
  out_ += json_escape(text);
  return *this;
}

JsonWriter& JsonWriter::value(long long number) {
  before_value();
  out_ += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  before_value();
  if (!std::isfinite(number)) {
    out_ += "null";
    return *this;
  }
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  out_.append(buffer, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  before_value();
  out_ += flag ? "true" : "false";
  return *this;
}

}  // namespace ostrel::cli
