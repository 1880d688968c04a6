#include "settings/option_table.h"

#include <gtest/gtest.h>

#include <set>

namespace ostrel {
namespace {

// A typo in a row (an implied box that is no check box, a group whose items do not fill its
// range, a name or settings key given twice) would only show when a user gives that flag or
// saves the settings.
TEST(OptionTable, RowsAreConsistent) {
  std::set<std::string> names, flags, keys;
  for (const OptionRow& row : option_table()) {
    EXPECT_TRUE(names.insert(row.control).second) << row.control;
    if (!row.flag.empty()) {
      EXPECT_TRUE(flags.insert(row.flag).second) << row.flag;
    }
    if (!row.ini.empty()) {
      EXPECT_TRUE(keys.insert(row.ini).second) << row.ini;
      EXPECT_EQ(row.ini.size(), 4u) << row.ini;
    }
    for (const std::string& implied : row.implies) {
      const OptionRow* box = find_option(implied);
      ASSERT_NE(box, nullptr) << implied;
      EXPECT_EQ(box->kind, OptionKind::kCheck) << implied;
    }
    if (row.kind == OptionKind::kChoice && !row.flag.empty()) {
      EXPECT_EQ(static_cast<int>(row.items.size()), row.highest - row.lowest + 1) << row.control;
    }
  }
}

TEST(OptionTable, FlagsAndAssignmentsSetTheTypedFields) {
  RunSettings settings;
  apply_flag(settings, *find_option("WeakenLimit"), "2.5");
  EXPECT_TRUE(settings.Weaken);
  EXPECT_TRUE(settings.Once);
  EXPECT_EQ(settings.WeakenLimit, "2.5");
  apply_flag(settings, *find_option("AugmentOption"), "bands");
  EXPECT_EQ(settings.AugmentOption, 3);

  EXPECT_EQ(set_option(settings, "SegEdge(2)", "1.5"), "");
  EXPECT_EQ(settings.SegEdge[2], "1.5");
  EXPECT_EQ(set_option(settings, "Isomorph", "yes"), "");
  EXPECT_TRUE(settings.Isomorph);
  EXPECT_EQ(set_option(settings, "Isomorph", "2"), "");  // a greyed box is off
  EXPECT_FALSE(settings.Isomorph);
  EXPECT_EQ(set_option(settings, "Isomorph", "maybe"),
            "Isomorph: a check box takes 1 or 0, not \"maybe\"");
  EXPECT_EQ(set_option(settings, "InflateOption", "5"),
            "InflateOption: an option group takes an item number from 0 to 4");
  EXPECT_EQ(set_option(settings, "Nothing", "1"), "no control is named \"Nothing\"");
}

}  // namespace
}  // namespace ostrel
