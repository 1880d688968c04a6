#include "core/lenient_number.h"

#include <gtest/gtest.h>

#include "core/run_error.h"

namespace ostrel {
namespace {

struct ValueCase {
  const char* text;
  double value;
};

TEST(LenientNumber, ReadsTheLeadingNumericPart) {
  const ValueCase cases[] = {
      {"", 0.0},      {"abc", 0.0},       {"12abc", 12.0}, {" 1 2", 12.0}, {"1 2.5", 12.5},
      {"-3", -3.0},   {"- 3", -3.0},      {"+4", 4.0},     {".5", 0.5},    {"1.", 1.0},
      {"1.2.3", 1.2}, {"-3e2", -300.0},   {"2E-1", 0.2},   {"1D2", 100.0}, {"5e", 5.0},
      {"5ex", 5.0},   {"--5", 0.0},       {"-", 0.0},      {"7/2", 7.0},   {"3,5", 3.0},
      {"\t 9 ", 9.0}, {"0.000001", 1e-6},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(lenient_value(c.text), c.value) << "text \"" << c.text << "\"";
  }
}

TEST(LenientNumber, RoundsHalvesToEven) {
  const ValueCase cases[] = {{"2.5", 2}, {"3.5", 4},    {"-2.5", -2},  {"-3.5", -4}, {"0.5", 0},
                             {"1.5", 2}, {"2.4999", 2}, {"2.5001", 3}, {"-0.4", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(lenient_int16(c.text), static_cast<std::int16_t>(c.value)) << c.text;
  }
}

TEST(LenientNumber, SixteenBitRangeIsCheckedNotWrapped) {
  EXPECT_EQ(lenient_int16("32767"), 32767);
  EXPECT_EQ(lenient_int16("-32768"), -32768);
  EXPECT_EQ(lenient_int16("32767.4"), 32767);
  for (const char* text : {"32768", "32767.5", "-32769", "1e9", "70000"}) {
    try {
      lenient_int16(text);
      ADD_FAILURE() << text << " was accepted";
    } catch (const RunError& error) {
      EXPECT_EQ(error.number(), kOverflow) << text;
      EXPECT_STREQ(error.what(), "Error: Overflow.  Try reducing some Force Strengths");
    }
  }
}

}  // namespace
}  // namespace ostrel
