#include "core/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstddef>
#include <locale>
#include <string>

namespace ostrel {
namespace {

struct PatternCase {
  double value;
  const char* pattern;
  const char* expected;
};

TEST(FormatOutputNumber, FollowsTheDigitPattern) {
  const PatternCase cases[] = {
      // Coordinates: at least one decimal, at most sixteen.
      {2.0, "#0.0###############", "2.0"},
      {-0.5, "#0.0###############", "-0.5"},
      {1.0 / 3.0, "#0.0###############", "0.3333333333333333"},
      {0.1, "#0.0###############", "0.1"},
      {1e-20, "#0.0###############", "0.0"},
      {1e20, "#0.0##", "100000000000000000000.0"},
      // Rounding, with the carry into the integer part.
      {0.9999, "0.000", "1.000"},
      {9.99996, "#0.0###", "10.0"},
      {2.0 / 3.0, "0.0###", "0.6667"},
      {12.345678, "#0.00", "12.35"},
      {0.123456789, "#0.00000000", "0.12345679"},
      // Colour fractions.
      {160.0 / 255.0, "0.000", "0.627"},
      // No minus sign on a value that rounds to zero.
      {-0.0001, "0.000", "0.000"},
      {-0.0, "#0.0###", "0.0"},
      {-4e-9, "0.0######", "0.0"},
      // "#" places and the point vanish when nothing significant stands there.
      {1.0, "#0.###", "1"},
      {1.25, "#0.###", "1.25"},
      {-3.0, "#0.###", "-3"},
      {0.5, "0.00", "0.50"},
      {0.001, "0.0##", "0.001"},
      // "0"s before the point set the least number of integer digits.
      {5.0, "00.0", "05.0"},
      {0.5, "#.##", ".5"},
      {0.0, "#.##", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatOutputNumber(c.value, c.pattern), c.expected)
        << c.value << " with \"" << c.pattern << "\"";
  }
}

struct RealPrintCase {
  double value;
  const char* expected;
};

TEST(PrintForm, Reals) {
  const RealPrintCase cases[] = {
      {0.0, " 0 "},
      {-0.0, " 0 "},
      {2.0, " 2 "},
      {-2.0, "-2 "},
      {0.5, " .5 "},
      {-0.25, "-.25 "},
      {1.0 / 3.0, " .333333333333333 "},
      {2.0 / 3.0, " .666666666666667 "},
      {0.1 + 0.2, " .3 "},
      {123456.789, " 123456.789 "},
      // Exponent form below 1e-4 and from 1e15 on.
      {0.0001, " .0001 "},
      {0.00015, " .00015 "},
      {0.000015, " 1.5E-05 "},
      {-1.25e-7, "-1.25E-07 "},
      {999999999999999.0, " 999999999999999 "},
      {1e15, " 1E+15 "},
      {-2.5e20, "-2.5E+20 "},
      {1e100, " 1E+100 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(print_form(c.value), c.expected) << c.value;
  }
}

TEST(PrintForm, IntegersAndAppending) {
  // The counts line of a cube's OFF file.
  EXPECT_EQ(print_form(8) + print_form(6) + print_form(12), " 8  6  12 ");
  EXPECT_EQ(print_form(0), " 0 ");
  EXPECT_EQ(print_form(-3), "-3 ");
  EXPECT_EQ(print_form(std::size_t{4000}), " 4000 ");
  EXPECT_EQ(print_form(-9223372036854775807LL - 1), "-9223372036854775808 ");
  std::string line;
  append_print_form(line, 4);
  append_print_form(line, 0.5);
  append_output_number(line, -1.0, "#0.0###");
  EXPECT_EQ(line, " 4  .5 -1.0");
}

// Restores the C and C++ locales however the test ends.
class LocaleGuard {
 public:
  LocaleGuard() : c_locale_(std::setlocale(LC_ALL, nullptr)), cpp_locale_() {}
  ~LocaleGuard() {
    std::setlocale(LC_ALL, c_locale_.c_str());
    std::locale::global(cpp_locale_);
  }

 private:
  std::string c_locale_;
  std::locale cpp_locale_;
};

TEST(NumberFormat, DecimalCommaLocaleStillGivesPoints) {
  LocaleGuard guard;
  const char* found = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      found = name;
      break;
    }
  }
  if (found == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  std::locale::global(std::locale(found));

  EXPECT_EQ(FormatOutputNumber(-0.5, "#0.0###############"), "-0.5");
  EXPECT_EQ(FormatOutputNumber(1.0 / 3.0, "#0.0###############"), "0.3333333333333333");
  EXPECT_EQ(FormatOutputNumber(160.0 / 255.0, "0.000"), "0.627");
  EXPECT_EQ(print_form(0.5), " .5 ");
  EXPECT_EQ(print_form(1.5e-5), " 1.5E-05 ");
  EXPECT_EQ(print_form(1234567), " 1234567 ");  // no digit grouping either
}

}  // namespace
}  // namespace ostrel
