#include "output/generation_date.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>
#include <system_error>

namespace ostrel {
namespace {

std::string format_date(int year, unsigned month, unsigned day) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u-%02u-%04d", month, day, year);
  return text;
}

std::optional<long long> source_date_epoch() {
  const char* value = std::getenv("SOURCE_DATE_EPOCH");
  if (value == nullptr) return std::nullopt;
  const std::string_view text(value);
  long long seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return seconds;
}

std::string local_date_today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return format_date(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                     static_cast<unsigned>(local.tm_mday));
}

}  // namespace

std::string generation_date_from_epoch(long long seconds) {
  using namespace std::chrono;
  const sys_days day = floor<days>(sys_seconds{std::chrono::seconds{seconds}});
  const year_month_day date{day};
  return format_date(static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                     static_cast<unsigned>(date.day()));
}

std::string generation_date() {
  if (const auto seconds = source_date_epoch()) return generation_date_from_epoch(*seconds);
  return local_date_today();
}

}  // namespace ostrel
