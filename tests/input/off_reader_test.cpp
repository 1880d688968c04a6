#include "input/off_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "input/input_reader.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

// A unit-square pyramid and a pentagram, as another program writes them: comments, blank lines,
// 0-based indices, colours as integers and as reals with alpha; the pentagram in drawing order.
constexpr const char* kPyramidAndStar =
    "\xEF\xBB\xBF# written by another tool\r\n"
    "\r\n"
    "OFF  # header\r\n"
    "10 7 0\r\n"
    "0.5 0.5 0\n0.5 -0.5 0\n-0.5 -0.5 0\n-0.5 0.5 0\n0 0 0.7071  # apex\n"
    "1 0 3\n0.309 0.951 3\n-0.809 0.588 3\n-0.809 -0.588 3\n0.309 -0.951 3\n"
    "4 0 1 2 3  255 128 0\n"
    "3 0 4 1\n3 1 4 2\n3 2 4 3\n3 3 4 0 0.0 0.5 1.0 0.25\n"
    "5 5 7 9 6 8\n"
    "3 5 6 7 4\n";  // a colour-map index: no colour

TEST(OffReader, ReadsFacesStartingPositionsStarsAndColours) {
  Model model;
  model.start_pass();
  test::MessageRecorder messages;
  ASSERT_TRUE(is_off_text(kPyramidAndStar));
  ParseResult result = read_input(model, kPyramidAndStar, {}, messages);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(model.FaceCount, 7);
  EXPECT_EQ(model.LinkCount, 0);
  EXPECT_EQ(model.FirstVertex, 1);
  EXPECT_EQ(model.LastVertex, 10);
  EXPECT_EQ(model.FaceSides(1), 4);
  EXPECT_EQ(model.FaceVertices(1, 1), 1);
  EXPECT_EQ(model.FaceVertices(2, 2), 5);
  const std::vector<int> steps{1, 1, 1, 1, 1, 2, 1};
  for (int f = 1; f <= 7; ++f) EXPECT_EQ(model.FaceStep(f), steps[f - 1]) << "face " << f;
  EXPECT_EQ(model.FaceInputColour(1), 0xFF8000FF | kInputColourGiven);
  EXPECT_EQ(model.FaceInputColour(2), 0);
  EXPECT_EQ(model.FaceInputColour(5), 0x0080FF40 | kInputColourGiven);
  EXPECT_EQ(model.FaceInputColour(7), 0);
  EXPECT_TRUE(model.StartListRead);
  EXPECT_EQ(model.LastStartSlot, 9);
  EXPECT_DOUBLE_EQ(model.StartZ(4), 0.7071);  // the apex, vertex 5
  EXPECT_DOUBLE_EQ(model.StartY(9), -0.951);

  Model random_start;
  random_start.start_pass();
  ParseRequest ignore;
  ignore.IgnoreCoordinates = true;
  ASSERT_TRUE(read_input(random_start, kPyramidAndStar, ignore, messages).ok());
  EXPECT_FALSE(random_start.StartListRead);
  EXPECT_EQ(random_start.FaceStep(6), 2);  // still measured on the file's points
  EXPECT_TRUE(messages.messages.empty());
}

TEST(OffReader, StepIsTheWindingAboutTheCentre) {
  // {7/3} listed in drawing order, tilted out of every coordinate plane; then its outline order.
  std::vector<double> star, outline;
  for (int k = 0; k < 7; ++k) {
    for (int step : {3, 1}) {
      const double angle = 2 * 3.14159265358979 * k * step / 7;
      const double x = std::cos(angle), y = std::sin(angle);
      auto& points = step == 3 ? star : outline;
      points.insert(points.end(), {x, 0.6 * y + 0.3 * x, 0.8 * y - 0.2});
    }
  }
  EXPECT_EQ(off_face_step(star.data(), 7), 3);
  EXPECT_EQ(off_face_step(outline.data(), 7), 1);
  const double line[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};  // spans no plane
  EXPECT_EQ(off_face_step(line, 3), 1);
}

TEST(OffReader, RecognisesTheHeaderWhateverTheFileIsCalled) {
  EXPECT_TRUE(is_off_text("OFF\n"));
  EXPECT_TRUE(is_off_text("\n  # comment\n\nCNOFF 3 1 0\n"));
  EXPECT_TRUE(is_off_text("4OFF\n"));  // recognised, then refused by the reader
  EXPECT_FALSE(is_off_text("' OFF\n{1,2,3,-1,}\n"));
  EXPECT_FALSE(is_off_text("OFFSET\n"));
  EXPECT_FALSE(is_off_text(""));
}

}  // namespace
}  // namespace ostrel
