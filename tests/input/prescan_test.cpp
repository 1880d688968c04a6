#include "input/prescan.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TEST(Prescan, CountsBraceRecordsAndNoticesAugmentation) {
  const struct {
    const char* text;
    int brace_records;
    bool augment;
    int segment_count;
  } cases[] = {
      {"{1,2,3,-1,}", 1, false, 1},  // one "{" is not segments
      {"{1,2,3,-1,}\r\n{1,2,3,-1,}", 2, false, 2},
      {"{ {1,2,3,-1,}", 1, false, 1},       // two "{" in one record count once
      {"' {\r\n{1,2,3,-1,}", 1, false, 1},  // after an apostrophe: a comment
      {"x 'y {\r\n{}", 1, false, 1},
      {"' faces {5/2}, {3}\r\n{1,2,3,-1,}", 1, false, 1},  // a comment runs on over commas
      {"A\r\n{1,2,3,-1,}", 1, false, 1},  // "A" before the first "{" record
      {"{A1,2,3,-1,}", 1, true, 1},       // "A" in the "{" record itself
      {"{1,2,3,-1,\r\n4,5,A6,-1,}", 1, true, 1},
      {"{1,2,3,-1,'A\r\n}", 1, false, 1},
      {"{},{},{},{},{},{},{}", 7, false, 7},
      {"", 0, false, 1},
      {"# made by A tool {\n# faces {5/2}\nOFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", 0, false,
       1},  // an OFF file's comments hold neither segments nor letters
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    InputPrescan scan = prescan_input(c.text);
    EXPECT_EQ(scan.brace_records, c.brace_records);
    EXPECT_EQ(scan.augment_letter, c.augment);
    EXPECT_EQ(scan.segment_count(), c.segment_count);
  }
}

}  // namespace
}  // namespace ostrel
