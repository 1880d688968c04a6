// The checks of a run's options, in the order the run-time options form makes them.
#include "settings/run_option_checks.h"

#include <gtest/gtest.h>

#include <functional>

namespace ostrel {
namespace {

struct CheckCase {
  const char* name;
  std::function<void(RunSettings&)> set_up;
  std::string expected;  // empty: every check passes
};

void local_diagonal(RunSettings& s, int local_option) {
  s.InflateOption = 3;
  s.LocalOption = local_option;
}

TEST(RunOptionChecks, EveryMessageInTheFormsOrder) {
  const CheckCase cases[] = {
      {"defaults pass", [](RunSettings&) {}, ""},
      {"no inflation option", [](RunSettings& s) { s.InflateOption = -1; },
       "Error: You must choose an inflation option"},
      {"global limit 0.5", [](RunSettings& s) { s.GlobLim = "0.5"; },
       "Error: Global Limit must be >= 1"},
      {"global limit text reads as 0", [](RunSettings& s) { s.GlobLim = "abc"; },
       "Error: Global Limit must be >= 1"},
      {"global limit 1", [](RunSettings& s) { s.GlobLim = "1"; }, ""},
      {"global limit unchecked under None",
       [](RunSettings& s) {
         s.InflateOption = 1;
         s.GlobLim = "0";
       },
       ""},
      {"local diagonal without a local option", [](RunSettings& s) { local_diagonal(s, -1); },
       "Error: With Local Diagonal inflation you must choose a local inflation option"},
      {"value with minimum 0", [](RunSettings& s) { local_diagonal(s, kLocalValue); },
       "Error: Local Inflation Minimum must be > 0"},
      {"range with equal bounds",
       [](RunSettings& s) {
         local_diagonal(s, kLocalRange);
         s.LocInfMin[1] = s.LocInfMax[1] = "1";
       },
       "Error: Local Inflation Maximum must be > Minimum"},
      {"differential without star minimum",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferential);
         s.LocInfMin[1] = "0.1";
       },
       "Error: Local Inflation Minimum for Star Faces must be > 0"},
      {"differential selected minimum without faces",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferential);
         s.LocInfMin = {"", "0.1", "0.1", "0.2"};
       },
       "Error: Selected Faces n/d must be > 0"},
      {"differential with neither selected value",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferential);
         s.LocInfMin = {"", "0.1", "0.1", ""};
       },
       ""},
      {"differential faces without their minimum",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferential);
         s.LocInfMin = {"", "0.1", "0.1", "0"};
         s.SelectFace = "5/2";
       },
       "Error: Local Inflation Minimum for Selected Faces must be > 0"},
      {"differential range, star bounds equal",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferentialRange);
         s.LocInfMin[2] = s.LocInfMax[2] = "1";
       },
       "Error: Local Inflation for Star Faces Maximum must be > Minimum"},
      {"differential range, selected bounds equal",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferentialRange);
         s.SelectFace = "5";
         s.LocInfMin[3] = s.LocInfMax[3] = "1";
       },
       "Error: Local Inflation for Selected Faces Maximum must be > Minimum"},
      {"differential range, selected maximum negative",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferentialRange);
         s.SelectFace = "5";
         s.LocInfMin[3] = "-2";
         s.LocInfMax[3] = "-1";
       },
       "Error: Local Inflation Maximum for Selected Faces must be > 0"},
      {"differential range, selected bounds unchecked without faces",
       [](RunSettings& s) {
         local_diagonal(s, kLocalDifferentialRange);
         s.LocInfMin[3] = "2";
         s.LocInfMax[3] = "-1";
       },
       ""},
      {"band length 0", [](RunSettings& s) { s.BandLen = "0"; }, "Error: Band Length must be > 0"},
      {"weaken limit 2",
       [](RunSettings& s) {
         s.Weaken = true;
         s.WeakenLimit = "2";
       },
       "Error: Weaken limit must be >=3"},
      {"weaken clear, any limit", [](RunSettings& s) { s.WeakenLimit = "2"; }, ""},
      {"augment side 0",
       [](RunSettings& s) {
         s.Augment = true;
         s.AugmentVal = "0";
       },
       "Error: Augmented Side n/d must be > 0"},
      {"augment without option",
       [](RunSettings& s) {
         s.Augment = true;
         s.AugmentColour = 0;
       },
       "Error: You must choose an Augment Option"},
      {"augment without colour",
       [](RunSettings& s) {
         s.Augment = true;
         s.AugmentOption = 2;
       },
       "Error: You must choose an Augment Colour"},
      {"greyed with segments: weaken and augment unchecked",
       [](RunSettings& s) {
         s.SegmentCount = 2;
         s.Weaken = s.Augment = true;
         s.WeakenLimit = "1";
       },
       ""},
      {"first failing check wins",
       [](RunSettings& s) {
         s.Weaken = true;
         s.GlobLim = s.BandLen = "0";
         s.WeakenLimit = "1";
       },
       "Error: Global Limit must be >= 1"},
      {"segment edge after the form's checks",
       [](RunSettings& s) {
         s.SegEdge[5] = "-1";  // a row the input does not use is checked too
         s.SegEdge[2] = "1,5";
       },
       "Dorvik, stop putting numbers in with commas!"},
      {"negative segment edge", [](RunSettings& s) { s.SegEdge[3] = "-1,5"; },
       "Error: Segment 3 edge length must be >= 0"},
      {"segment edge 0", [](RunSettings& s) { s.SegEdge[1] = "0"; }, ""},
  };
  for (const CheckCase& check : cases) {
    SCOPED_TRACE(check.name);
    RunSettings settings;
    check.set_up(settings);
    EXPECT_EQ(first_run_option_problem(settings), check.expected);
  }
}

TEST(RunOptionChecks, SegmentsDropTheGreyedOptions) {
  RunSettings settings;
  settings.Once = settings.Augment = settings.XYConfine = true;
  EXPECT_TRUE(drop_options_greyed_for_segments(settings).empty());  // no segments: all kept
  settings.SegmentCount = 3;
  EXPECT_EQ(drop_options_greyed_for_segments(settings),
            (std::vector<std::string>{"Once", "Augment"}));
  EXPECT_FALSE(settings.Once || settings.Augment);
  EXPECT_TRUE(settings.XYConfine);
}

}  // namespace
}  // namespace ostrel
