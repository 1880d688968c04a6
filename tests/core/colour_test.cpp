#include "core/colour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_error.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::MessageRecorder;

struct ConversionCase {
  const char* text;
  const char* label;
  const char* vrml;
  const char* ints;
  std::vector<std::string> messages;
};

TEST(ColourText, ConvertsClipsAndReports) {
  const ConversionCase cases[] = {
      {"255.255.0", "Triangles", "1.000 1.000 0.000", "255 255 0", {}},
      {"255.160.0", "Squares", "1.000 0.627 0.000", "255 160 0", {}},
      {"192", "Apolydronics", "0.753 0.753 0.753", "192 192 192", {}},
      {"", "Apolydronics", "0.000 0.000 0.000", "0 0 0", {}},
      {" 12 . 34 . 56", "Squares", "0.047 0.133 0.220", "12 34 56", {}},
      // Components are taken to the nearest integer, halves to even.
      {"0.0.2.5", "Squares", "0.000 0.000 0.008", "0 0 2", {}},
      {"300.0.0",
       "Highlight Colour",
       "1.000 0.000 0.000",
       "255 0 0",
       {"Red value in Highlight Colour Colour clipped at 255"}},
      {"0.-4.999",
       "Hexagons",
       "0.000 0.000 1.000",
       "0 0 255",
       {"Green value in Hexagons Colour clipped at 0",
        "Blue value in Hexagons Colour clipped at 255"}},
      {"-1.256.-1",
       "Octagons",
       "0.000 1.000 0.000",
       "0 255 0",
       {"Red value in Octagons Colour clipped at 0",
        "Green value in Octagons Colour clipped at 255",
        "Blue value in Octagons Colour clipped at 0"}},
      {"-5",
       "Vertex",
       "0.000 0.000 0.000",
       "0 0 0",
       {"No periods in Vertex Edge Colour, single number assumed, clipped at 0"}},
      {"400",
       "Decagons",
       "1.000 1.000 1.000",
       "255 255 255",
       {"No periods in Decagons Colour, single number assumed, clipped at 255"}},
      // The offset label: the sum modulo 256, keeping the sign of the sum.
      {"0.0.0", "Offset 128", "0.502 0.502 0.502", "128 128 128", {}},
      {"200.0.255", "OFFSET 128", "0.282 0.502 0.498", "72 128 127", {}},
      {"0.1.2", "offset 0.5", "0.000 0.008 0.008", "0 2 2", {}},
      {"0.0.100", "Offset -128", "-0.502 -0.502 -0.110", "-128 -128 -28", {}},
      {"300",
       "Offset 128",
       "0.498 0.498 0.498",
       "127 127 127",
       {"No periods in Offset 128 Colour, single number assumed, clipped at 255"}},
      // Only a label starting with "Offset" carries an offset.
      {"0.0.0", "No Offset 128", "0.000 0.000 0.000", "0 0 0", {}},
      // Two parts: reported, and blue taken as 0.
      {"255.128",
       "Hexagons",
       "1.000 0.502 0.000",
       "255 128 0",
       {"Colour value 255.128 in Hexagons has only two parts; the missing part is taken as 0"}},
      {"9.300",
       "Squares",
       "0.035 1.000 0.000",
       "9 255 0",
       {"Colour value 9.300 in Squares has only two parts; the missing part is taken as 0",
        "Green value in Squares Colour clipped at 255"}},
  };
  for (const auto& c : cases) {
    MessageRecorder vrml_messages;
    EXPECT_EQ(ColourTextToVrml(c.text, c.label, vrml_messages), c.vrml) << c.text;
    EXPECT_EQ(vrml_messages.messages, c.messages) << c.text;
    MessageRecorder int_messages;
    EXPECT_EQ(ColourTextToInts(c.text, c.label, int_messages), c.ints) << c.text;
    EXPECT_EQ(int_messages.messages, c.messages) << c.text;
  }
}

TEST(ColourText, ComponentBeyondSixteenBitsIsAnOverflow) {
  for (const char* text : {"70000.0.0", "0.0.1e9", "99999"}) {
    MessageRecorder sink;
    try {
      ColourTextToInts(text, "Triangles", sink);
      ADD_FAILURE() << text << " was accepted";
    } catch (const RunError& error) {
      EXPECT_EQ(error.number(), kOverflow) << text;
    }
  }
}

TEST(ColourClassToCode, CodesReadBackAsTheirClass) {
  // The codes that preparation appends must choose the class they were made from.
  for (int colour_class : {1, 2, 3, 4, 5, 6, 7, 8, 10, 21, 22, 23, 24, 25, 26, 27, 28}) {
    int found = 0;
    FaceColourClass(3, 1, ColourClassToCode(colour_class), found);
    EXPECT_EQ(found, colour_class);
  }
  EXPECT_EQ(ColourClassToCode(29), "Q2");
  for (int colour_class : {0, 9, 11, 14, 16, 20, 30, 32, 33}) {
    EXPECT_EQ(ColourClassToCode(colour_class), "Q7") << colour_class;
  }
}

struct ClassCase {
  int sides;
  int step;
  const char* flags;
  int before;
  int after;
};

TEST(FaceColourClass, ByCodeThenByCorners) {
  const ClassCase cases[] = {
      // Corner counts.
      {3, 1, "", 0, 3},
      {4, 1, "", 0, 4},
      {5, 1, "", 0, 5},
      {5, 2, "", 0, 11},
      {6, 1, "", 0, 6},
      {7, 1, "", 0, 7},
      {7, 2, "", 0, 7},
      {8, 1, "", 0, 8},
      {8, 3, "", 0, 12},
      {9, 1, "", 0, 7},
      {10, 1, "", 0, 10},
      {10, 3, "", 0, 13},
      {11, 1, "", 0, 7},
      {24, 5, "", 0, 7},
      {2, 1, "", 26, 26},
      {0, 1, "", 9, 9},
      // Rhombus and distorted hexagon sets.
      {4, 1, "D", 0, 14},
      {4, 1, "dq", 0, 15},
      {4, 1, "q", 0, 32},
      {4, 1, "Dq", 0, 14},
      {6, 1, "D", 0, 30},
      {6, 1, "d", 0, 31},
      {6, 1, "dD", 0, 30},
      {6, 1, "q", 0, 6},
      {5, 1, "D", 0, 5},
      // Colour codes win over the shape; the last code in test order decides.
      {5, 1, "Q3", 0, 3},
      {5, 2, "Q3", 0, 3},
      {4, 1, "DQr", 0, 21},
      {3, 1, "QrQb", 0, 21},
      {3, 1, "QbQr", 0, 21},
      {3, 1, "QhQ2", 0, 2},
      {3, 1, "Q7Qr", 0, 7},
      {3, 1, "Q1Qy", 0, 23},
      {6, 1, "QX", 0, 10},
      {3, 1, "nQh", 0, 29},
      // A "Q" without a known code leaves the class alone, shape or not.
      {5, 1, "Qz", 9, 9},
      {4, 1, "QD", 22, 22},
      // Letters are case-sensitive: "qr" is no code.
      {4, 1, "qr", 0, 32},
  };
  for (const auto& c : cases) {
    int colour_class = c.before;
    FaceColourClass(c.sides, c.step, c.flags, colour_class);
    EXPECT_EQ(colour_class, c.after) << c.sides << "/" << c.step << " \"" << c.flags << "\"";
  }
}

TEST(FaceColourIndex, HiddenFaceHasNoIndexAndKeepsTheRunningClass) {
  int colour_class = 6;
  EXPECT_EQ(FaceColourIndex(4, 1, "B", colour_class, {}, HighlightScope::kOff), std::nullopt);
  EXPECT_EQ(colour_class, 6);
}

TEST(FaceColourIndex, IsTheFaceClass) {
  // Star, rhombus and distorted hexagon faces keep their own table slots.
  const ClassCase cases[] = {
      {5, 2, "", 0, 11},  {4, 1, "D", 0, 14},  {6, 1, "d", 0, 31},
      {4, 1, "q", 0, 32}, {3, 1, "Qh", 0, 29},
  };
  for (const auto& c : cases) {
    int colour_class = c.before;
    EXPECT_EQ(
        FaceColourIndex(c.sides, c.step, c.flags, colour_class, {}, HighlightScope::kVrmlFaceSet),
        c.after)
        << c.sides << "/" << c.step << " \"" << c.flags << "\"";
  }
}

TEST(FaceColourIndex, FaceWithoutRuleTakesThePreviousClass) {
  int colour_class = 0;  // no face seen yet
  EXPECT_EQ(FaceColourIndex(2, 1, "", colour_class, {}, HighlightScope::kOff), 7);
  EXPECT_EQ(FaceColourIndex(4, 1, "", colour_class, {}, HighlightScope::kOff), 4);
  EXPECT_EQ(FaceColourIndex(2, 1, "", colour_class, {}, HighlightScope::kOff), 4);
  EXPECT_EQ(FaceColourIndex(3, 1, "Qz", colour_class, {}, HighlightScope::kOff), 4);
}

TEST(FaceColourIndex, HighlightMatchesTheKind) {
  const HighlightState pentagrams{true, {5, 2}};
  int colour_class = 0;
  EXPECT_EQ(FaceColourIndex(5, 2, "", colour_class, pentagrams, HighlightScope::kOff), 2);
  EXPECT_EQ(colour_class, 11);  // the override leaves the running class alone
  EXPECT_EQ(FaceColourIndex(5, 1, "", colour_class, pentagrams, HighlightScope::kOff), 5);
  EXPECT_EQ(FaceColourIndex(5, 2, "", colour_class, {false, {5, 2}}, HighlightScope::kOff), 11);

  const HighlightState every_face{true, {0, 1}};
  EXPECT_EQ(FaceColourIndex(3, 1, "", colour_class, every_face, HighlightScope::kOff), 2);
  EXPECT_EQ(FaceColourIndex(12, 5, "", colour_class, every_face, HighlightScope::kOff), 2);
}

TEST(FaceColourIndex, HighlightScopeDependsOnTheFile) {
  struct ScopeCase {
    int colour_class;
    int vrml;
    int off;
    int four_dimensional_off;
  };
  const ScopeCase cases[] = {
      {1, 2, 2, 2},     {19, 2, 2, 2},   {20, 2, 20, 20}, {21, 21, 21, 21},
      {28, 28, 28, 28}, {29, 29, 2, 29}, {30, 30, 2, 30}, {32, 32, 2, 32},
  };
  const HighlightState every_face{true, {0, 1}};
  for (const auto& c : cases) {
    // A two-corner face keeps the running class, so any class can be tried.
    int colour_class = c.colour_class;
    EXPECT_EQ(FaceColourIndex(2, 1, "", colour_class, every_face, HighlightScope::kVrmlFaceSet),
              c.vrml)
        << c.colour_class;
    EXPECT_EQ(FaceColourIndex(2, 1, "", colour_class, every_face, HighlightScope::kOff), c.off)
        << c.colour_class;
    EXPECT_EQ(
        FaceColourIndex(2, 1, "", colour_class, every_face, HighlightScope::kFourDimensionalOff),
        c.four_dimensional_off)
        << c.colour_class;
  }
}

}  // namespace
}  // namespace ostrel
