#include "output/off_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "core/model.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::add_face;
using test::add_square_vertices;
using test::add_vertex;
using test::lines_of;

std::string off_text(const Model& model, const RunSettings& settings = {}) {
  const OutputContext context = test::output_context("pyramid");
  test::MessageRecorder sink;
  const OffColourTable colours =
      build_off_colour_table(settings, choose_rhombus_colours(settings, {}), sink);
  std::ostringstream out;
  write_off(out, model, colours, {settings.Highlight, settings.highlight_kind()}, context);
  return out.str();
}

// The lines between "# Sides and colours" and the closing "#", "# END".
std::vector<std::string> face_lines(const std::string& text) {
  std::vector<std::string> lines = lines_of(text);
  const auto first = std::find(lines.begin(), lines.end(), "# Sides and colours") + 1;
  return {first, lines.end() - 2};
}

// A square pyramid with a "Qr" side, a pentagram over its vertices and a hidden triangle.
TEST(OffWriter, WritesTheGoldenPyramid) {
  Model model;
  add_square_vertices(model, 1, 0);
  add_vertex(model, 5, 0, 0, std::sqrt(0.5));
  add_face(model, {1, 2, 3, 4});
  add_face(model, {1, 2, 5});
  add_face(model, {2, 3, 5}, 1, "Qr");
  add_face(model, {3, 4, 5});
  add_face(model, {4, 1, 5});
  add_face(model, {1, 2, 3, 4, 5}, 2);
  add_face(model, {1, 3, 5}, 1, "B");  // neither written nor counted
  model.EdgeCount = 8;
  EXPECT_EQ(off_text(model), test::read_file(test::golden("square_pyramid.off")));
}

TEST(OffWriter, WritesFaceLines) {
  struct Case {
    int first_vertex;
    std::vector<int> corners;
    int step;
    const char* flags;
    const char* line;
  };
  const Case cases[] = {
      {5, {5, 6, 7}, 1, "", " 3  0  1  2   0 0 255"},
      {1, {1, 2, 3, 4, 5}, 1, "n", " 5  0  1  2  3  4   0 255 0"},
      {1, {1, 2, 3, 4, 5}, 2, "", " 5  1  3  0  2  4   0 160 0"},
      {1, {1, 2, 3, 4, 5, 6, 7, 8}, 3, "", " 8  2  5  0  3  6  1  4  7   128 0 128"},
      {1, {4, 3, 2, 1}, 1, "Qr", " 4  3  2  1  0   255 0 0"},
      {1, {1, 2, 3, 4}, 1, "q", " 4  0  1  2  3   128 0 128"},
      // Six corners with step 2 share a factor: stored order rather than repeated corners.
      {1, {1, 2, 3, 4, 5, 6}, 2, "", " 6  0  1  2  3  4  5   0 160 255"},
  };
  for (const auto& c : cases) {
    Model model;
    for (int v = c.first_vertex; v < c.first_vertex + 8; ++v) add_vertex(model, v, 0, 0, 0);
    add_face(model, c.corners, c.step, c.flags);
    EXPECT_EQ(face_lines(off_text(model)), std::vector<std::string>{c.line}) << c.line;
  }
}

TEST(OffWriter, HighlightRecoloursTheChosenKindButNotFixedColours) {
  Model model;
  for (int v = 1; v <= 4; ++v) add_vertex(model, v, 0, 0, 0);
  add_face(model, {1, 2, 3});
  add_face(model, {1, 2, 3}, 1, "Qr");
  add_face(model, {1, 2, 3, 4});
  RunSettings settings;
  settings.Highlight = true;
  settings.HighlightVal = "3";
  EXPECT_EQ(face_lines(off_text(model, settings)),
            (std::vector<std::string>{" 3  0  1  2   255 255 0", " 3  0  1  2   255 0 0",
                                      " 4  0  1  2  3   255 128 0"}));
}

struct CommaPunctuation : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(OffWriter, WritesCoordinatesWithAPointUnderACommaLocale) {
  Model model;
  add_vertex(model, 1, 2.0, -0.5, 1.0 / 3.0);
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaPunctuation));
  const std::vector<std::string> lines = lines_of(off_text(model));
  std::locale::global(previous);
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[11], " 1  0  0 ");
  EXPECT_EQ(lines[14], "2.0 -0.5 0.3333333333333333");
}

TEST(OffColourTable, ReportsClippedColoursUnderTheirNamesInTableOrder) {
  RunSettings settings;
  settings.ColourH = "-1";  // entries 2 and 29
  settings.Colour52 = "300.0.0";
  settings.ColourS[3] = "0.999.0";
  settings.DHCol2 = "0.0.256";
  test::MessageRecorder sink;
  const OffColourTable table =
      build_off_colour_table(settings, {{"", "1.2.3", "4.5.6", "0.0.-7"}}, sink);
  const std::string grey_clip = " Colour, single number assumed, clipped at 0";
  EXPECT_EQ(sink.messages,
            (std::vector<std::string>{"No periods in Highlight Colour Edge" + grey_clip,
                                      "Red value in Pentagram Colour Colour clipped at 255",
                                      "Green value in Segment 3 Colour Colour clipped at 255",
                                      "No periods in Highlight Colour Edge" + grey_clip,
                                      "Blue value in Highlight Colour Colour clipped at 255",
                                      "Blue value in Rhombus Set 3 Colour clipped at 0"}));
  EXPECT_EQ(table[9], "0 0 0");
  EXPECT_EQ(table[14], "1 2 3");
  EXPECT_EQ(table[15], "4 5 6");
  EXPECT_EQ(table[28], "203 203 203");
  EXPECT_EQ(table[32], "0 0 0");
}

}  // namespace
}  // namespace ostrel
