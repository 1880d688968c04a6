#include "output/vrml_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/model.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::add_face;
using test::add_polygon_vertices;
using test::add_square_vertices;
using test::add_vertex;
using test::kPi;
using test::lines_of;


// A unit rhombus with acute angle `alpha` at corners 1 and 3.
void add_rhombus_vertices(Model& model, int first, double alpha) {
  const double half_short = std::sin(alpha / 2.0);  // half of the short diagonal 2·sin(α/2)
  const double half_long = std::cos(alpha / 2.0);
  add_vertex(model, first, half_long, 0, 0);
  add_vertex(model, first + 1, 0, half_short, 0);
  add_vertex(model, first + 2, -half_long, 0, 0);
  add_vertex(model, first + 3, 0, -half_short, 0);
}

// A unit distorted hexagon with apex angle `a` at corners `apex` and apex + 3.
void add_hexagon_vertices(Model& model, int first, double a, int apex) {
  const double half = std::sin(a / 2.0);  // half the distance of the apex's neighbours
  const double rise = std::cos(a / 2.0);
  const double points[6][2] = {{0, 0.5 + rise},  {half, 0.5},   {half, -0.5},
                               {0, -0.5 - rise}, {-half, -0.5}, {-half, 0.5}};
  for (int k = 0; k < 6; ++k) {
    const int slot = (k + apex - 1) % 6;
    add_vertex(model, first + slot, points[k][0], points[k][1], 0.0);
  }
}

bool has_line(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

bool has_line_starting(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

struct HeaderRun : test::VrmlRun {
  HeaderRun() { context = test::output_context("cube"); }
  std::vector<std::string> lines() { return VrmlRun::lines(WriteVrmlHeader); }
};

// An edge of target length 1 between vertices a and b, with no faces, off by `deviation`.
void add_edge(HeaderRun& run, int a, int b, double deviation) {
  run.context.deviations.set_edge(test::add_edge(run.model, a, b, 0, 0), deviation);
}

TEST(VrmlAngles, AcceptAnyArgument) {
  struct Case {
    double x, sine, cosine;
  };
  const Case cases[] = {
      {1.0, kPi / 2, 0.0},   {1.5, kPi / 2, 0.0},     {-1.0, -kPi / 2, kPi},
      {-7.0, -kPi / 2, kPi}, {0.5, kPi / 6, kPi / 3}, {0.0, 0.0, kPi / 2},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(arc_sine(c.x), c.sine, 1e-15) << c.x;
    EXPECT_NEAR(arc_cosine(c.x), c.cosine, 1e-15) << c.x;
  }
}

TEST(VrmlAngles, MeasuresRhombiAndDistortedHexagons) {
  Model model;
  add_rhombus_vertices(model, 1, kPi / 3);
  add_face(model, {1, 2, 3, 4}, 1, "D");  // long diagonal 1-3: the short one is taken
  add_face(model, {2, 3, 4, 1}, 1, "D");  // short diagonal 1-3
  add_vertex(model, 5, 5, 0, 0);
  add_face(model, {1, 2, 5, 4}, 1, "D");  // corners 1 and 3 two or more apart
  EXPECT_NEAR(rhombus_acute_angle(model, 1), kPi / 3, 1e-12);
  EXPECT_NEAR(rhombus_acute_angle(model, 2), kPi / 3, 1e-12);
  EXPECT_EQ(rhombus_acute_angle(model, 3), 0.0);

  for (int apex = 1; apex <= 3; ++apex) {
    Model hexagons;
    add_hexagon_vertices(hexagons, 1, 1.9, apex);
    add_face(hexagons, {1, 2, 3, 4, 5, 6}, 1, "D");
    EXPECT_NEAR(hexagon_apex_angle(hexagons, 1), 1.9, 1e-12) << apex;
  }
  Model regular;
  add_polygon_vertices(regular, 1, 6, 1.0);
  add_face(regular, {1, 2, 3, 4, 5, 6}, 1, "D");
  EXPECT_NEAR(hexagon_apex_angle(regular, 1), 2 * kPi / 3, 1e-12);
}

TEST(AngleDeformation, ComparesEachCornerWithItsFacesTarget) {
  const double alpha = kPi / 3;
  const double apex = 1.9;
  AngleTargets targets;
  targets.rhombus = {0.0, alpha, alpha, alpha};
  targets.hexagon = {0.0, apex, apex};
  struct Case {
    const char* name;
    void (*build)(Model&, double, double);
    double degrees;
  };
  const Case cases[] = {
      {"regular pentagram",
       [](Model& m, double, double) {
         add_polygon_vertices(m, 1, 5, 1.0);
         add_face(m, {1, 2, 3, 4, 5}, 2);
       },
       0.0},
      {"rhombus taken for a square: four corners 30 degrees off",
       [](Model& m, double a, double) {
         add_rhombus_vertices(m, 1, a);
         add_face(m, {1, 2, 3, 4});
       },
       120.0},
      {"rhombus of set 1",
       [](Model& m, double a, double) {
         add_rhombus_vertices(m, 1, a);
         add_face(m, {1, 2, 3, 4}, 1, "D");
       },
       0.0},
      {"rhombus of set 3 measured against its own shape",
       [](Model& m, double a, double) {
         add_rhombus_vertices(m, 1, a);
         add_face(m, {1, 2, 3, 4}, 1, "q");
       },
       0.0},
      {"distorted hexagon of set 2 measured against its own shape",
       [](Model& m, double, double h) {
         add_hexagon_vertices(m, 1, h, 2);
         add_face(m, {1, 2, 3, 4, 5, 6}, 1, "d");
       },
       0.0},
      {"a 'D' face of five corners adds nothing",
       [](Model& m, double a, double) {
         add_rhombus_vertices(m, 1, a);
         add_vertex(m, 5, 9, 9, 9);
         add_face(m, {1, 2, 3, 4, 5}, 1, "D");
       },
       0.0},
      {"a corner on top of its neighbour adds nothing",
       [](Model& m, double, double) {
         add_vertex(m, 1, 0, 0, 0);
         add_vertex(m, 2, 0, 0, 0);
         add_vertex(m, 3, 1, 0, 0);
         add_face(m, {1, 2, 3});
       },
       60.0},
  };
  for (const Case& c : cases) {
    Model model;
    c.build(model, alpha, apex);
    EXPECT_NEAR(AngleDeformation(model, targets), c.degrees, 1e-9) << c.name;
  }
}

TEST(AngleDeformation, TargetsComeFromTheEngineFigures) {
  OutputContext context;
  context.RhombusSetDiagonals[2] = {1.0, std::sqrt(3.0)};
  context.HexagonSetPairMean[1] = std::sqrt(1.0 + 4.0 * std::sin(0.95) * std::sin(0.95));
  context.HexagonSetPairMean[2] = 0.5;  // no real hexagon: apex 0, not NaN
  const AngleTargets targets = angle_targets(context);
  EXPECT_EQ(targets.rhombus[1], 0.0);
  EXPECT_NEAR(targets.rhombus[2], kPi / 3, 1e-12);
  EXPECT_NEAR(targets.hexagon[1], 1.9, 1e-12);
  EXPECT_EQ(targets.hexagon[2], 0.0);
}

TEST(VrmlHeader, WritesTheSummaryEdgesAndFaces) {
  HeaderRun run;
  add_square_vertices(run.model, 1, 0);
  add_face(run.model, {1, 2, 3, 4});
  run.context.deviations.set_face(1, 0.25);
  add_edge(run, 1, 2, -0.0015);
  add_edge(run, 2, 3, 0.0);  // exactly right: not listed
  add_edge(run, 3, 4, 0.002);
  run.context.IterationDeform = 0.0036;
  run.context.IterationDeforp = 0.25;
  run.context.MeasuredDeform = 99;  // used only for a model written as entered
  const std::vector<std::string> lines = run.lines();
  const std::vector<std::string> expected{
      "# Aggregate Edge Deformation (E):        .0036 ",
      "# Maximum Single Edge Distortion (SE):   .002 ",
      "# Polygonal Deformation (P):             .25 ",
      "# Aggregate Angle Deformation (A):       0  degrees",
      "#                                        0  radians",
      "#",
      std::string("# Deformation Summary                    (E=0.004, P=0.250, A=0.0\xB0)"),
      "#",
      "# side : 1 Vertices : 4  Nos. ( 1  2  3  4 )  Deformation 0.25",
      "#",
      "# Edge : 1 Vertices : 1  2 Deformation :-0.0015  Compression",
      "# Edge : 3 Vertices : 3  4 Deformation :0.002  Elongation",
      "#",
      "Background {",
  };
  ASSERT_GT(lines.size(), 12 + expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 12, lines.begin() + 12 + expected.size()),
            expected);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
            (std::vector<std::string>{"#VRML V2.0 utf8", "WorldInfo{",
                                      "      title \"cube   Generation Date: 01-01-1970\"",
                                      "      info[ ", "      ]", "}", "#"}));
}

TEST(VrmlHeader, SmallEdgeDeformationWritesNoEdgeLines) {
  HeaderRun run;
  add_vertex(run.model, 1, 0, 0, 0);
  add_vertex(run.model, 2, 1, 0, 0);
  add_edge(run, 1, 2, 0.5);
  run.context.IterationDeform = 1e-11;
  EXPECT_FALSE(has_line_starting(run.lines(), "# Edge :"));
}

TEST(VrmlHeader, WrittenAsEnteredLeavesOutTheSummaryUnlessUserdata) {
  HeaderRun run;
  add_rhombus_vertices(run.model, 1, kPi / 3);
  add_face(run.model, {1, 2, 3, 4}, 1, "D");
  add_edge(run, 1, 2, 0.5);
  run.settings.incord = true;
  run.context.IterationDeform = 7;
  run.context.MeasuredDeform = 0.5;
  std::vector<std::string> lines = run.lines();
  EXPECT_FALSE(has_line_starting(lines, "# Aggregate"));
  EXPECT_FALSE(has_line_starting(lines, "# Edge :"));
  EXPECT_TRUE(has_line(lines, "# Rhombus acute angle: 1.0472 radians, 60.0 degrees."));
  EXPECT_TRUE(has_line(lines, "NavigationInfo {"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Viewpoint {"), 6);

  run.settings.Userdata = true;
  lines = run.lines();
  EXPECT_TRUE(has_line(lines, "# Aggregate Edge Deformation (E):        .5 "));
  EXPECT_FALSE(has_line_starting(lines, "# Edge :"));
}

TEST(VrmlHeader, ReportsTheFirstFaceOfEachRhombusAndHexagonSet) {
  HeaderRun run;
  add_rhombus_vertices(run.model, 1, kPi / 3);
  add_rhombus_vertices(run.model, 5, 1.0);
  add_hexagon_vertices(run.model, 9, 1.9, 1);
  add_face(run.model, {1, 2, 3, 4}, 1, "d");
  add_face(run.model, {5, 6, 7, 8}, 1, "d");  // not the first of its set
  add_face(run.model, {5, 6, 7, 8}, 1, "q");
  add_face(run.model, {9, 10, 11, 12, 13, 14}, 1, "d");
  run.settings.ForceRhom3 = "60";
  const std::vector<std::string> lines = run.lines();
  const std::vector<std::string> reports{
      "# Type 2 Rhombus acute angle: 1.0472 radians, 60.0 degrees.",
      "# Angle deformation above assumption that all rhombi have acute angle as above",
      "# Forced type 3 rhombus acute angle: 1.0 radians, 57.296 degrees.",
      "# Angle deformation above assumption that all rhombi have acute angle as above",
      "# Distorted hexagon type 2 apex angle: 1.9 radians, 108.862 degrees.",
      "# Angle deformation above assumption that all above distorted hexagons have have apex "
      "angle as above.",
      "# Distorted hexagons contain 2 apex angles (a) and four other angles of pi-(a/2) radians.",
      "#",
      "Background {",
  };
  const auto at = std::find(lines.begin(), lines.end(), reports[0]);
  ASSERT_GE(lines.end() - at, static_cast<long>(reports.size()));
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(reports.size())), reports);
}

TEST(VrmlHeader, SceneSettingsAndSegmentLengths) {
  struct Case {
    double distance;
    const char* scale;
    const char* wide;
    const char* telephoto;
  };
  const Case cases[] = {
      {0.0, "1", " position 0 0 2.0", " position 0 0 10.0"},
      {0.0, "3", " position 0 0 6.0", " position 0 0 30.0"},
      {2.6, "1", " position 0 0 2.6", " position 0 0 13.0"},
      {1.23456, "2", " position 0 0 2.469", " position 0 0 12.346"},
  };
  for (const Case& c : cases) {
    HeaderRun run;
    run.context.ViewingDistance = c.distance;
    run.settings.VRMLScale = c.scale;
    const std::vector<std::string> lines = run.lines();
    const auto wide = std::find(lines.begin(), lines.end(), "Viewpoint {") + 1;
    ASSERT_LT(wide + 7, lines.end());
    EXPECT_EQ(*wide, c.wide);
    EXPECT_EQ(*(wide + 1), " description \"Wide Angle\"");
    EXPECT_EQ(*(wide + 5), c.telephoto);
  }

  HeaderRun run;
  run.context.SegmentCount = 2;
  run.settings.SegEdge = {"", "1.5", "", "9", "9", "9"};
  run.settings.VRMLBack = "300.0.0";
  const std::vector<std::string> lines = run.lines();
  const auto segments = std::find(lines.begin(), lines.end(), "# Segment: 1   Edge Length: 1.50");
  ASSERT_NE(segments, lines.end());
  EXPECT_EQ(*(segments - 1), "");
  EXPECT_EQ(*(segments + 1), "# Segment: 2   Edge Length: 0.00");
  EXPECT_EQ(*(segments + 2), "");
  EXPECT_TRUE(has_line(lines, "  skyColor [1.000 0.000 0.000]"));
  EXPECT_EQ(run.sink.messages,
            std::vector<std::string>{"Red value in Screen Background Colour clipped at 255"});
}

TEST(VrmlHeader, TitleKeepsAQuotedNameInsideItsString) {
  HeaderRun run;
  run.context.OutputName = "my \"best\" cube";
  EXPECT_EQ(run.lines()[2], "      title \"my \\\"best\\\" cube   Generation Date: 01-01-1970\"");
}

TEST(VrmlHeader, StressPassMarksEveryFaceOnlyWhenEdgesAreDeformed) {
  RunSettings settings;
  OutputContext context;
  context.IterationDeform = 0.1;
  EXPECT_FALSE(stress_marks_every_face(settings, context));
  context.StressPass = true;
  EXPECT_TRUE(stress_marks_every_face(settings, context));
  context.IterationDeform = 1e-11;
  EXPECT_FALSE(stress_marks_every_face(settings, context));
}

}  // namespace
}  // namespace ostrel
