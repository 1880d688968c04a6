// A small streaming JSON writer for the command line's machine-readable output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::cli {

class JsonWriter {
 public:
  JsonWriter& begin_object();
  JsonWriter& end_object();
  JsonWriter& begin_array();
  JsonWriter& end_array();
  JsonWriter& key(std::string_view name);
  JsonWriter& value(std::string_view text);
  JsonWriter& value(const char* text) { return value(std::string_view(text)); }
  JsonWriter& value(long long number);
  JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
  JsonWriter& value(double number);
  JsonWriter& value(bool flag);

  // The document written so far, followed by a line end when complete.
  const std::string& text() const { return out_; }

 private:
  void before_value();

  std::string out_;
  std::vector<bool> first_in_level_;
  bool after_key_ = false;
};

std::string json_escape(std::string_view text);

}  // namespace ostrel::cli
