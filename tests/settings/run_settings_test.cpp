#include "settings/run_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

TEST(RunSettings, WeakenLimitNeedsWeakenAndOnce) {
  RunSettings settings;
  settings.WeakenLimit = "3";
  EXPECT_EQ(settings.weaken_limit(), 99.0);
  settings.Weaken = true;
  EXPECT_EQ(settings.weaken_limit(), 99.0);
  settings.Once = true;
  EXPECT_EQ(settings.weaken_limit(), 3.0);
  settings.WeakenLimit = "4.5";
  EXPECT_EQ(settings.weaken_limit(), 4.5);
}

TEST(RunSettings, RunModeAndExpansionMode) {
  RunSettings settings;
  EXPECT_EQ(settings.run_mode(), 2);
  settings.Once = true;
  EXPECT_EQ(settings.run_mode(), 1);
  settings.Weaken = true;
  EXPECT_EQ(settings.run_mode(), 3);
  settings.SegmentCount = 2;
  EXPECT_EQ(settings.run_mode(), 1);

  const int expected[] = {kExpandGlobal, kExpandNone, kExpandLocalOne, kExpandLocalDiagonal};
  for (int item = 0; item < 4; ++item) {
    settings.InflateOption = item;
    EXPECT_EQ(settings.expansion_mode(), expected[item]) << item;
  }
}

TEST(RunSettings, IterationLimitIsTheIntegerPartOfTenToMaxIter) {
  const struct {
    const char* max_iter;
    std::int64_t limit;
  } cases[] = {{"3", 1000}, {"0", 1},  {"2.5", 316},      {"7", 10000000},
               {"", 1},     {"1", 10}, {"12", 2147483647}};
  for (const auto& c : cases) {
    RunSettings settings;
    settings.MaxIter = c.max_iter;
    EXPECT_EQ(settings.iteration_limit(), c.limit) << c.max_iter;
  }
}

TEST(RunSettings, RhombusAngleTexts) {
  const struct {
    const char* text;
    int set;
    double theta;
  } cases[] = {
      {"90", 1, 90 * kDegree},
      {"60.5", 2, 60.5 * kDegree},
      {"r30", 1, std::atan(2.0)},
      {"R30", 3, std::atan(2.0)},
      {"mr30", 1, std::atan(std::sqrt(0.8))},
      {"mr30", 2, std::atan(0.8)},
      {"mr30", 3, std::atan(0.8)},
      {"r12", 1, 2 * std::atan(std::sqrt(0.5))},
      {"R12", 2, 2 * std::atan(std::sqrt(0.5))},
      {"P5", 1, 108 * kDegree},
      {"p5/2", 1, 36 * kDegree},
      {"P6", 1, 120 * kDegree},
      {"P", 1, 0.0},  // a lone P is not a polygon: read as a number, 0
      {"", 1, 0.0},
      {"0", 1, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(rhombus_angle_from_text(c.text, c.set), c.theta, 1e-12)
        << c.text << " set " << c.set;
  }
  RunSettings settings;
  settings.ForceRhom2 = "mr30";
  EXPECT_NEAR(settings.rhombus_angle(2), std::atan(0.8), 1e-12);
}

TEST(RunSettings, RhombusDiagonals) {
  RhombusDiagonals square = rhombus_diagonals(90 * kDegree);
  EXPECT_NEAR(square.short_diagonal, std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(square.long_diagonal, std::sqrt(2.0), 1e-12);
  RhombusDiagonals sixty = rhombus_diagonals(60 * kDegree);
  EXPECT_NEAR(sixty.short_diagonal, 1.0, 1e-12);
  EXPECT_NEAR(sixty.long_diagonal, std::sqrt(3.0), 1e-12);
  RhombusDiagonals obtuse = rhombus_diagonals(120 * kDegree);  // same rhombus, other angle
  EXPECT_NEAR(obtuse.short_diagonal, 1.0, 1e-12);
  EXPECT_NEAR(obtuse.long_diagonal, std::sqrt(3.0), 1e-12);
}

TEST(RunSettings, FaceKindTexts) {
  const struct {
    const char* text;
    int sides;
    int step;
  } cases[] = {{"5/2", 5, 2}, {"6", 6, 1}, {"", 0, 1}, {"0", 0, 1}, {"8/3x", 8, 3}, {"5/", 5, 0}};
  for (const auto& c : cases) {
    FaceKind kind = RunSettings::parse_face_kind(c.text);
    EXPECT_EQ(kind.sides, c.sides) << c.text;
    EXPECT_EQ(kind.step, c.step) << c.text;
  }
}

TEST(RunSettings, ForceStrengthsAndFrameWidthAreReadLeniently) {
  RunSettings settings;
  EXPECT_EQ(settings.force_strength(1), 100.0);
  EXPECT_EQ(settings.force_strength(5), 20.0);
  settings.Force[3] = "12.5 units";
  EXPECT_EQ(settings.force_strength(3), 12.5);
  EXPECT_DOUBLE_EQ(settings.frame_width(), 0.03);
}

}  // namespace
}  // namespace ostrel
