// The switch, animated and cylinder VRML files, and the cylinder edges, stress cones and
// distortion spheres every style ends with: golden text of a small model and the behaviours
// around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/model.h"
#include "output/file_set.h"
#include "output/vrml_anim.h"
#include "output/vrml_cylinder.h"
#include "output/vrml_geometry.h"
#include "output/vrml_switch.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::cube;
using test::lines_of;
using test::pyramid;
using test::pyramid_context;
using test::VrmlWriter;
using test::written;

long count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

// The lines from the first one equal to `first` up to and including the next one equal to
// `last`.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& first,
                               const std::string& last) {
  const auto begin = std::find(lines.begin(), lines.end(), first);
  const auto end = std::find(begin, lines.end(), last);
  if (end == lines.end()) return {};
  return {begin, end + 1};
}

TEST(VrmlStyles, SwitchAnimatedAndCylinderFilesMatchTheirGoldenText) {
  struct Case {
    VrmlWriter writer;
    const char* golden;
  };
  const Case cases[] = {{write_switch_vrml, "pyramid_switch.wrl"},
                        {write_anim_vrml, "pyramid_anim.wrl"},
                        {write_cylinder_vrml, "pyramid_cylinder.wrl"}};
  RunSettings settings;
  settings.Edge = true;
  for (const Case& c : cases) {
    EXPECT_EQ(written(c.writer, pyramid(), settings), test::read_file(test::golden(c.golden)))
        << c.golden;
  }
}

// --- Switch file ----------------------------------------------------------------------------

TEST(VrmlSwitch, TransparencyLevelIsWrittenInTheButtonAndTheScript) {
  RunSettings settings;
  settings.TransLevel = "0.5";
  const std::vector<std::string> lines = lines_of(written(write_switch_vrml, pyramid(), settings));
  EXPECT_EQ(count(lines, "            transparency 0.50"), 1);  // the button
  EXPECT_EQ(count(lines, "              transp = 0.50"), 1);    // the script's state 1 to 2
  EXPECT_EQ(count(lines, "               transp = 0;"), 1);
  // The button's colour is the background shifted by 128: black gives a middle grey.
  EXPECT_EQ(count(lines, "            diffuseColor 0.502 0.502 0.502"), 1);
}

TEST(VrmlSwitch, TransparentStateHoldsTheShapesTheModelHas) {
  struct Case {
    bool transparent_faces;
    bool edges;
    std::vector<std::string> state;
  };
  const std::vector<std::string> solid = {"    Transform {", "      children USE SOLID", "    }"};
  const std::vector<std::string> trans = {"Transform {", "  children USE TRANS", "}"};
  const std::vector<std::string> edges = {"    Transform {", "      children USE EDGES", "    }"};
  const std::vector<std::string> frame = {"    Transform {", "      children USE FRAME", "    }"};
  const auto join = [](std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all{"Group{", "  children ["};
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    all.insert(all.end(), {"  ]", "}", "# end of switch nodes"});
    return all;
  };
  const Case cases[] = {
      {false, false, join({solid, frame})},
      {true, false, join({solid, trans, frame})},
      {false, true, join({solid, edges, frame})},
      {true, true, join({solid, trans, edges, frame})},
  };
  for (const Case& c : cases) {
    Model model = pyramid();
    if (!c.transparent_faces) model.FaceFlags(3) = "f";
    RunSettings settings;
    settings.Edge = c.edges;
    const std::vector<std::string> lines = lines_of(written(write_switch_vrml, model, settings));
    EXPECT_EQ(block(lines, "Group{", "# end of switch nodes"), c.state)
        << c.transparent_faces << c.edges;
    // Every shape used is defined once, in the frame state.
    EXPECT_EQ(count(lines, "  DEF TRANS Shape{"), c.transparent_faces ? 1 : 0);
    EXPECT_EQ(count(lines, "  DEF EDGES Shape{"), c.edges ? 1 : 0);
  }
}

// --- Animated file --------------------------------------------------------------------------

// The key sets of an animated file: the lines between "keyValue [" and "]", split at " ".
std::vector<std::vector<std::string>> key_sets(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> sets(1);
  auto line = std::find(lines.begin(), lines.end(), "keyValue [");
  if (line == lines.end()) return {};
  for (++line; line != lines.end() && *line != "]"; ++line) {
    if (*line == " ") {
      sets.emplace_back();
    } else {
      sets.back().push_back(*line);
    }
  }
  sets.pop_back();  // after the last " "
  return sets;
}

long placeholder_count(const std::vector<std::string>& lines) {
  const auto point = std::find(lines.begin(), lines.end(), "         point[");
  if (point == lines.end() || point + 1 == lines.end()) return -1;
  const std::string& text = *(point + 1);
  long entries = 0;
  for (std::size_t at = 0; (at = text.find("0 0 0,", at)) != std::string::npos; at += 6) ++entries;
  return entries;
}

TEST(VrmlAnim, EveryKeySetHasAsManyPointsAsTheCoordinateList) {
  struct Case {
    const char* name;
    void (*adjust)(Model&);
    long entries;  // vertices plus the corners of the faces drawn as frames, plus star centres
  };
  const Case cases[] = {
      {"plain cube", [](Model&) {}, 8 + 6 * 4},
      {"a hidden face has no points", [](Model& m) { m.FaceFlags(2) = "B"; }, 8 + 5 * 4},
      {"an 's' face is drawn whole", [](Model& m) { m.FaceFlags(3) = "s"; }, 8 + 5 * 4},
      {"a whole star adds its centre", [](Model& m) { m.FaceFlags(3) = "sn"; }, 8 + 5 * 4 + 1},
      {"a transparent star keeps its frame and adds its centre",
       [](Model& m) { m.FaceFlags(3) = "ftn"; }, 8 + 6 * 4 + 1},
  };
  for (const Case& c : cases) {
    Model model = cube();
    c.adjust(model);
    const std::vector<std::string> lines = lines_of(written(write_anim_vrml, model, RunSettings{}));
    const std::vector<std::vector<std::string>> sets = key_sets(lines);
    ASSERT_EQ(sets.size(), 3u) << c.name;
    EXPECT_EQ(placeholder_count(lines), c.entries) << c.name;
    for (const auto& set : sets) EXPECT_EQ(static_cast<long>(set.size()), c.entries) << c.name;
    EXPECT_EQ(sets[0], sets[2]) << c.name;
  }
}

TEST(VrmlAnim, FacesCloseOntoTheirCentresExceptFramedFaces) {
  Model model = cube();
  model.FaceFlags(2) = "f";
  RunSettings settings;
  settings.FrameVal = "10";
  const CoordinateLayout layout = plan_coordinates(model, settings, {FaceDrawing::kFrame});
  const std::vector<std::vector<Vec3>> keys = animation_key_points(model, layout);
  ASSERT_EQ(keys.size(), 3u);
  for (int f = 1; f <= model.FaceCount; ++f) {
    const Vec3 centre = face_centre_point(model, f);
    const std::vector<Vec3> inner = frame_inner_points(model, f, 0.1);
    for (int k = 0; k < 4; ++k) {
      const auto at = static_cast<std::size_t>(layout.inner_start[f] + k);
      for (std::size_t key : {0u, 2u}) {
        EXPECT_NEAR(keys[key][at].x, inner[k].x, 1e-12);
        EXPECT_NEAR(keys[key][at].y, inner[k].y, 1e-12);
      }
      const Vec3 closed = f == 2 ? inner[k] : centre;  // the "f" face stays a frame
      EXPECT_NEAR(keys[1][at].x, closed.x, 1e-12) << f;
      EXPECT_NEAR(keys[1][at].y, closed.y, 1e-12) << f;
      EXPECT_NEAR(keys[1][at].z, closed.z, 1e-12) << f;
    }
  }
  for (int v = 0; v < 8; ++v) EXPECT_EQ(keys[1][v].x, model.VertexX(v + 1));
}

// --- Cylinders and stress shapes -----------------------------------------------------------

// The closers of a file whose vertex-sphere step did not run.
void closers(std::ostream& out, const VrmlInputs& inputs) {
  write_closers(out, inputs, SphereStep::kNotRun);
}

// Rotates `p` about `axis` (any length) by `angle` (Rodrigues).
Vec3 rotate(const Vec3& p, const Vec3& axis, double angle) {
  const double length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
  const Vec3 k{axis.x / length, axis.y / length, axis.z / length};
  const double c = std::cos(angle), s = std::sin(angle);
  const double dot = k.x * p.x + k.y * p.y + k.z * p.z;
  const Vec3 cross{k.y * p.z - k.z * p.y, k.z * p.x - k.x * p.z, k.x * p.y - k.y * p.x};
  return {p.x * c + cross.x * s + k.x * dot * (1 - c), p.y * c + cross.y * s + k.y * dot * (1 - c),
          p.z * c + cross.z * s + k.z * dot * (1 - c)};
}

Vec3 numbers_after(const std::string& line, const std::string& prefix) {
  std::istringstream in(line.substr(prefix.size()));
  Vec3 p;
  in >> p.x >> p.y >> p.z;
  return p;
}

// Where a placed shape's +y end (its apex, for a cone of height h) and its −y end land.
struct Ends {
  Vec3 top, bottom;
};
Ends placed_ends(const std::string& rotation, const std::string& translation, double height) {
  const Vec3 axis = numbers_after(rotation, "  rotation ");
  const Vec3 middle = numbers_after(translation, "  translation  ");
  const Vec3 top = rotate({0, height / 2, 0}, axis, 3.1415);
  return {{middle.x + top.x, middle.y + top.y, middle.z + top.z},
          {middle.x - top.x, middle.y - top.y, middle.z - top.z}};
}

void expect_near(const Vec3& a, const Vec3& b, const std::string& what) {
  EXPECT_NEAR(a.x, b.x, 1e-3) << what;
  EXPECT_NEAR(a.y, b.y, 1e-3) << what;
  EXPECT_NEAR(a.z, b.z, 1e-3) << what;
}

TEST(VrmlCylinders, PlacementLaysTheYAxisAlongTheSegment) {
  const Vec3 cases[][2] = {
      {{0, 0, 0}, {0, 1, 0}},          {{1, 2, 3}, {1, 1, 3}},  // straight up, straight down
      {{0.5, 0.5, 0}, {-0.5, 0.5, 0}}, {{0, 0, 0}, {0.3, -0.4, 1.2}},
      {{0, 0, 0}, {0, -2, 1e-14}},     {{2, 2, 2}, {2, 2, 2}},  // nearly down; one point
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    write_placement(out, place_on_segment(c[0], c[1]));
    const std::vector<std::string> lines = lines_of(out.str());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Transform {");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 7), " 3.1415");
    const double length = std::hypot(c[1].x - c[0].x, c[1].y - c[0].y, c[1].z - c[0].z);
    const Ends ends = placed_ends(lines[1], lines[2], length);
    expect_near(ends.top, c[1], lines[1]);
    expect_near(ends.bottom, c[0], lines[1]);
  }
}

TEST(VrmlCylinders, EqualEdgesShareOneCylinderDefinition) {
  RunSettings settings;
  settings.Cylsize = "2";
  const std::vector<std::string> lines = lines_of(written(write_cylinder_vrml, cube(), settings));
  EXPECT_EQ(count(lines, "  DEF Cyl Shape {"), 1);
  EXPECT_EQ(count(lines, "  Shape {"), 0);
  EXPECT_EQ(count(lines, "    children USE Cyl"), 11);
  EXPECT_EQ(count(lines, "    radius 0.02"), 1);
  EXPECT_EQ(count(lines, "    height 1.0"), 1);
  EXPECT_EQ(count(lines, "     DEF Balls Shape {") + count(lines, "   children USE Balls"), 8);

  // A longer edge gets a shape of its own; one within 1e-7 of the first length does not.
  Model model = cube();
  model.VertexX(2) = 0.5 + 1e-8;  // edge 1 (1-2) is the first one drawn
  model.VertexX(4) = 0.75;        // edges 2 (3-4), 6 (2-4) and 12 (4-8) differ
  const std::vector<std::string> longer = lines_of(written(write_cylinder_vrml, model, settings));
  EXPECT_EQ(count(longer, "  DEF Cyl Shape {"), 1);
  EXPECT_EQ(count(longer, "  Shape {"), 3);
  EXPECT_EQ(count(longer, "    children USE Cyl"), 8);
}

TEST(VrmlCylinders, CylinderFileLeavesOutEdgesBetweenHiddenFaces) {
  Model model = cube();
  model.FaceFlags(1) = "B";
  model.FaceFlags(3) = "B";   // edge 1 (1-2) lies between faces 1 and 3
  model.EdgeTarget(2) = 0.5;  // an edge of another length is no cylinder either
  const std::vector<std::string> lines =
      lines_of(written(write_cylinder_vrml, model, RunSettings{}));
  EXPECT_EQ(count(lines, "  DEF Cyl Shape {") + count(lines, "    children USE Cyl"), 10);
  EXPECT_EQ(count(lines, "  translation  0.0 -0.5 -0.5"), 0);  // the middle of edge 1
  EXPECT_EQ(count(lines, "  translation  0.0 0.5 -0.5"), 0);   // the middle of edge 2
}

TEST(VrmlCylinders, MarkedEdgesAreSelectedForTheOtherStyles) {
  struct Case {
    const char* name;
    void (*adjust)(Model&, RunSettings&, OutputContext&);
    bool selected;
  };
  // Edge 1 runs from vertex 1 to 2 between faces 1 and 3; CylinderFlag is on unless cleared.
  const Case cases[] = {
      {"plain edge", [](Model&, RunSettings&, OutputContext&) {}, false},
      {"marked \\", [](Model& m, RunSettings&, OutputContext&) { m.EdgeVertices(1, 3) = 2; }, true},
      {"mark 12 counts as 2",
       [](Model& m, RunSettings&, OutputContext&) { m.EdgeVertices(1, 3) = 12; }, true},
      {"face 'O'", [](Model& m, RunSettings&, OutputContext&) { m.FaceFlags(3) = "O"; }, true},
      {"face 'o'", [](Model& m, RunSettings&, OutputContext&) { m.FaceFlags(1) = "o"; }, true},
      {"vertex '*'", [](Model& m, RunSettings&, OutputContext&) { m.VertexFlags(2) = "*"; }, true},
      {"between 'B' faces, 'O'",
       [](Model& m, RunSettings&, OutputContext&) { m.FaceFlags(1) = "BO", m.FaceFlags(3) = "B"; },
       false},
      {"between 'B' faces, marked",
       [](Model& m, RunSettings&, OutputContext&) {
         m.FaceFlags(1) = m.FaceFlags(3) = "B", m.EdgeVertices(1, 3) = 2;
       },
       true},
      {"target not 1",
       [](Model& m, RunSettings&, OutputContext&) {
         m.EdgeVertices(1, 3) = 2, m.EdgeTarget(1) = 1.5;
       },
       false},
      {"no cylinder marks in the model",
       [](Model& m, RunSettings&, OutputContext&) {
         m.CylinderFlag = false, m.VertexFlags(2) = "*";
       },
       false},
      {"AllCyl without marks",
       [](Model& m, RunSettings& s, OutputContext&) {
         m.CylinderFlag = false, s.AllCyl = true, m.FaceFlags(1) = "O";
       },
       true},
      {"stress pass selects every edge",
       [](Model& m, RunSettings&, OutputContext& c) {
         m.CylinderFlag = false, c.StressPass = true;
       },
       true},
      {"stress pass of an undeformed model",
       [](Model& m, RunSettings&, OutputContext& c) {
         m.CylinderFlag = false, c.StressPass = true, c.IterationDeform = 0;
       },
       false},
  };
  for (const Case& c : cases) {
    Model model = cube();
    model.CylinderFlag = true;
    RunSettings settings;
    OutputContext context = pyramid_context();
    c.adjust(model, settings, context);
    EXPECT_EQ(is_cylinder_edge(model, settings, context, 1), c.selected) << c.name;
  }
}

TEST(VrmlCylinders, TypeTwoEdgesHaveTheirOwnDefinitionAndColour) {
  Model model = cube();
  model.CylinderFlag = model.Cylinder2Flag = true;
  model.EdgeVertices(1, 3) = 2;                          // "\"
  for (int e : {2, 3, 4}) model.EdgeVertices(e, 3) = 3;  // "/"
  model.FaceFlags(2) = model.FaceFlags(4) = "B";         // edge 4 (7-8) is marked, so still drawn
  RunSettings settings;
  settings.CylCol = "255.0.0";
  settings.CylCol2 = "0.0.255";
  const std::vector<std::string> lines = lines_of(written(closers, model, settings));
  EXPECT_EQ(count(lines, "  DEF Cyl Shape {"), 1);
  EXPECT_EQ(count(lines, "    children USE Cyl"), 0);
  EXPECT_EQ(count(lines, "  DEF Cyl2 Shape {"), 1);
  EXPECT_EQ(count(lines, "    children USE Cyl2"), 2);
  EXPECT_EQ(count(lines, "     diffuseColor 1.000 0.000 0.000"), 1);
  EXPECT_EQ(count(lines, "     diffuseColor 0.000 0.000 1.000"), 1);
  // Cyl comes before Cyl2, and both before the dummy sphere.
  const auto at = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  EXPECT_LT(at("  DEF Cyl Shape {"), at("  DEF Cyl2 Shape {"));
  EXPECT_LT(at("  DEF Cyl2 Shape {"), at("# Dummy sphere to reset centre of rotation to origin"));
}

// The pyramid goldens' context in the stress pass, with no deviations.
OutputContext stress_context() {
  OutputContext context = pyramid_context();
  context.StressPass = true;
  context.deviations = {};
  return context;
}

// The cube's context in the stress pass (or, with `stress_pass` false, the ordinary one): edge 1
// (1-2) 0.02 too long, edge 2 (3-4) 0.01 too short, edge 3 (5-6) off by 0.0001, at most 1% of
// the largest, the others exact.
OutputContext stressed_cube(bool stress_pass = true) {
  OutputContext context = stress_context();
  context.StressPass = stress_pass;
  context.deviations.set_edge(1, 0.02);
  context.deviations.set_edge(2, -0.01);
  context.deviations.set_edge(3, 0.0001);
  return context;
}

TEST(VrmlStress, DeformedEdgesGetConesPointingByTheirStress) {
  RunSettings settings;
  settings.StressMult = "10";
  settings.ExtCol = "300.0.0";  // clipped, and reported once for both of its cones
  settings.CompCol = "0.0.255";
  std::vector<std::string> messages;
  const std::vector<std::string> lines =
      lines_of(written(closers, cube(), settings, stressed_cube(), &messages));
  EXPECT_EQ(messages,
            std::vector<std::string>{"Red value in Extended Cone Colour Colour clipped at 255"});
  EXPECT_EQ(count(lines, "  DEF Con Shape {"), 4);  // none on the exact and the nearly exact
  EXPECT_EQ(count(lines, "  DEF Cyl Shape {"), 0);  // cones instead of cylinders
  struct Cone {
    std::string colour, radius;
    Vec3 apex, base;
  };
  const Cone expected[] = {
      // edge 1, longer: from the middle out to its ends
      {"1.000 0.000 0.000", "0.2", {-0.5, -0.5, -0.5}, {0, -0.5, -0.5}},
      {"1.000 0.000 0.000", "0.2", {0.5, -0.5, -0.5}, {0, -0.5, -0.5}},
      // edge 2, shorter: from its ends in to the middle
      {"0.000 0.000 1.000", "0.1", {0, 0.5, -0.5}, {-0.5, 0.5, -0.5}},
      {"0.000 0.000 1.000", "0.1", {0, 0.5, -0.5}, {0.5, 0.5, -0.5}},
  };
  std::size_t cone = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "  DEF Con Shape {") continue;
    ASSERT_LT(cone, std::size(expected));
    ASSERT_LT(i + 11, lines.size());
    const Cone& want = expected[cone++];
    EXPECT_EQ(lines[i + 4], "     diffuseColor " + want.colour);
    EXPECT_EQ(lines[i + 10], "    bottomRadius " + want.radius);
    EXPECT_EQ(lines[i + 11], "    height 0.5");
    const Ends ends = placed_ends(lines[i - 3], lines[i - 2], 0.5);
    expect_near(ends.top, want.apex, "apex of cone " + std::to_string(cone));
    expect_near(ends.bottom, want.base, "base of cone " + std::to_string(cone));
  }
  EXPECT_EQ(cone, std::size(expected));

  // The ordinary pass of the same model draws no stress shapes.
  EXPECT_EQ(count(lines_of(written(closers, cube(), settings, stressed_cube(false))),
                  "  DEF Con Shape {"),
            0);
}

TEST(VrmlStress, EdgesTheHeaderWouldNotListGetNoCones) {
  struct Case {
    const char* name;
    double first, second;  // deviations of edges 1 and 2; the other edges are exact
    int cones;
  };
  const Case cases[] = {
      // SE is 0: rounding noise gets no cones of radius 0.
      {"all within 1e-10", 5e-11, -3e-11, 0},
      {"exactly 1e-10", 1e-10, -1e-10, 0},
      // SE 2e-10: 1% of it would let the noisy edge through; the listing threshold does not.
      {"one listed edge beside noise", 2e-10, 5e-11, 2},
  };
  for (const Case& c : cases) {
    OutputContext context = stress_context();
    context.deviations.set_edge(1, c.first);
    context.deviations.set_edge(2, c.second);
    const std::vector<std::string> lines =
        lines_of(written(closers, cube(), RunSettings{}, context));
    EXPECT_EQ(count(lines, "  DEF Con Shape {"), c.cones) << c.name;
  }
}

TEST(VrmlStress, FacesOutOfPlaneGetADistortionSphereAtTheirCentre) {
  Model model = cube();
  OutputContext context = stressed_cube();
  context.deviations.set_face(3, 0.004);  // face 1-2-6-5, centre (0, -0.5, 0)
  context.deviations.set_face(5, 1e-13);  // too little
  RunSettings settings;
  settings.StBallMult = "100";
  const std::vector<std::string> lines =
      lines_of(written(closers, model, settings, context));
  const std::vector<std::string> sphere = block(lines, " translation 0.0 -0.5 0.0", "");
  const std::vector<std::string> expected{" translation 0.0 -0.5 0.0",
                                          "   children [",
                                          "     DEF Balls Shape {",
                                          "       appearance  Appearance {",
                                          "         material  Material  {",
                                          "           diffuseColor 1.000 1.000 0.000",
                                          "           shininess 1",
                                          "         }",
                                          "       }",
                                          "       geometry Sphere {",
                                          "         radius 0.200",
                                          "       }",
                                          "     }",
                                          "   ]",
                                          " }",
                                          ""};
  EXPECT_EQ(sphere, expected);
  EXPECT_EQ(count(lines, "     DEF Balls Shape {"), 1);
  context.StressPass = false;
  EXPECT_EQ(count(lines_of(written(closers, model, settings, context)), "     DEF Balls Shape {"),
            0);
}

TEST(VrmlStress, CylinderFileOfTheStressPassIsTheCylinderFile) {
  const std::vector<std::string> ordinary =
      lines_of(written(write_cylinder_vrml, cube(), RunSettings{}, stressed_cube(false)));
  const std::vector<std::string> stress =
      lines_of(written(write_cylinder_vrml, cube(), RunSettings{}, stressed_cube()));
  for (const auto* lines : {&ordinary, &stress}) {
    EXPECT_EQ(count(*lines, "  DEF Cyl Shape {") + count(*lines, "    children USE Cyl"), 12);
    EXPECT_EQ(count(*lines, "  DEF Con Shape {"), 0);       // no stress cones
    EXPECT_EQ(count(*lines, "     DEF Balls Shape {"), 1);  // the vertex spheres only
  }
}

}  // namespace
}  // namespace ostrel
