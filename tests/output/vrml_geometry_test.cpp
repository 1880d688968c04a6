#include "output/vrml_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
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
using test::add_vertex;
using test::lines_of;

// The lines from the first one equal to `first` up to, not including, the next one equal to
// `last`.
std::vector<std::string> section(const std::vector<std::string>& lines, const std::string& first,
                                 const std::string& last) {
  const auto begin = std::find(lines.begin(), lines.end(), first);
  if (begin == lines.end()) return {};
  return {begin + 1, std::find(begin + 1, lines.end(), last)};
}

struct Writer : test::VrmlRun {
  Writer() { rhombus = RhombusSetColours{{"", "255.0.255", "128.0.255", "128.0.128"}}; }
  // The coordIndex and colorIndex lists of the main face set.
  std::vector<std::string> face_lines(FaceDrawing drawing = FaceDrawing::kSolid) {
    return section(face_set(drawing), "    coordIndex[", "    ]");
  }
  std::string colour_line(FaceDrawing drawing = FaceDrawing::kSolid) {
    const std::vector<std::string> list = section(face_set(drawing), "    colorIndex[", " ");
    return list.size() == 1 ? list[0] : "";
  }
  std::vector<std::string> face_set(FaceDrawing drawing) {
    return lines([&](std::ostream& out, const VrmlInputs& in) {
      FaceSetOptions options;
      options.drawing = drawing;
      write_face_set(out, in, plan_coordinates(model, settings, {drawing}), options);
    });
  }
};

TEST(VrmlColourTable, WritesThirtyThreeLinesAndNamesClippedColours) {
  RunSettings settings;
  settings.Colour3 = "300.0.0";
  settings.ColourS[1] = "0.0.255";
  test::MessageRecorder sink;
  const auto table = vrml_colour_table(settings, {{"", "1.2.3", "", "255"}}, sink);
  EXPECT_EQ(table[0], "        0 0 0,");
  EXPECT_EQ(table[1], "       0.753 0.753 0.753, #  1 inter realm faces");
  EXPECT_EQ(table[3], "       1.000 0.000 0.000, # 3 triangle");
  EXPECT_EQ(table[9], "        0 0 0");
  EXPECT_EQ(table[14], "       0.004 0.008 0.012, #  14 rhombus set 1");
  EXPECT_EQ(table[15], "       0.000 0.000 0.000, #  15 rhombus set 2");
  EXPECT_EQ(table[16], "       0.000 0.000 1.000, # 16 segment 1");
  EXPECT_EQ(table[22], "        1 .6 0    # 22 amber (orange)");
  EXPECT_EQ(table[28], "        .8 .8 .8  # 28 pseudo-white (grey)");
  EXPECT_EQ(table[32], "       1.000 1.000 1.000, #  32 rhombus set 3");
  EXPECT_EQ(sink.messages,
            std::vector<std::string>{"Red value in Triangles Colour clipped at 255"});
  EXPECT_EQ(vrml_colour_names()[20], "Segment 5");
  EXPECT_EQ(vrml_colour_names()[21], "");
}

TEST(VrmlFaceSet, WritesOrdinaryStarAndFrameFaceLines) {
  struct Case {
    const char* name;
    std::vector<int> corners;
    int step;
    const char* flags;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"square", {1, 2, 3, 4}, 1, "", {"      0 , 1 , 2 , 3 ,-1,"}},
      {"pentagram: five spikes about the centre point 5",
       {1, 2, 3, 4, 5},
       2,
       "",
       {"      5 , 0 , 2 , -1,", "      5 , 1 , 3 , -1,", "      5 , 2 , 4 , -1,",
        "      5 , 3 , 0 , -1,", "      5 , 4 , 1 , -1,"}},
      {"'n' draws a step-1 face as spikes",
       {3, 2, 1},
       1,
       "n",
       {"      5 , 2 , 1 , -1,", "      5 , 1 , 0 , -1,", "      5 , 0 , 2 , -1,"}},
      {"'f': one quadrilateral per side, inner points from 5 on",
       {1, 2, 3},
       1,
       "f",
       {"      0 , 1 , 6 , 5 , -1,", "      1 , 2 , 7 , 6 , -1,", "      2 , 0 , 5 , 7 , -1,"}},
  };
  for (const Case& c : cases) {
    Writer writer;
    add_polygon_vertices(writer.model, 1, 5, 1.0);
    add_face(writer.model, c.corners, c.step, c.flags);
    EXPECT_EQ(writer.face_lines(), c.lines) << c.name;
  }
}

TEST(VrmlFaceSet, HiddenFacesLeaveBothListsAligned) {
  Writer writer;
  add_polygon_vertices(writer.model, 1, 5, 1.0);
  add_face(writer.model, {1, 2, 3, 4});
  add_face(writer.model, {1, 2, 3}, 1, "B");
  add_face(writer.model, {1, 2, 3, 4, 5}, 2);
  const std::vector<std::string> lines = writer.face_lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "      0 , 1 , 2 , 3 ,-1,");
  EXPECT_EQ(writer.colour_line(), "       4 , 11 , 11 , 11 , 11 , 11 ,");
  EXPECT_EQ(writer.colour_line(FaceDrawing::kFrame),
            "       4 , 4 , 4 , 4 , 11 , 11 , 11 , 11 , 11 ,");
}

TEST(VrmlFaceSet, HighlightOfEveryKindRecoloursShapeClassesOnly) {
  Writer writer;
  add_polygon_vertices(writer.model, 1, 5, 1.0);
  add_face(writer.model, {1, 2, 3});
  add_face(writer.model, {1, 2, 3}, 1, "Qr");
  add_face(writer.model, {1, 2, 3, 4}, 1, "D");
  add_face(writer.model, {1, 2, 3}, 1, "Qh");
  writer.settings.Highlight = true;
  writer.settings.HighlightVal = "0";
  EXPECT_EQ(writer.colour_line(), "       2 , 21 , 2 , 29 ,");
}

TEST(VrmlFrames, InnerPointsLieTheFrameWidthInsideEverySide) {
  struct Case {
    int n;
    int step;
  };
  for (const Case& c : {Case{3, 1}, Case{4, 1}, Case{5, 2}, Case{8, 3}, Case{7, 3}}) {
    Model model;
    add_polygon_vertices(model, 1, c.n, 1.3);
    std::vector<int> corners;
    for (int k = 1; k <= c.n; ++k) corners.push_back(k);
    add_face(model, corners, c.step);
    const std::vector<Vec3> inner = frame_inner_points(model, 1, 0.03);
    ASSERT_EQ(inner.size(), static_cast<std::size_t>(c.n));
    // Each inner point is 0.03 from both edge lines through its corner (corner k ± step).
    for (int k = 1; k <= c.n; ++k) {
      for (int other : {(k + c.step - 1) % c.n + 1, (k - c.step - 1 + c.n) % c.n + 1}) {
        const double ax = model.VertexX(k), ay = model.VertexY(k);
        const double dx = model.VertexX(other) - ax, dy = model.VertexY(other) - ay;
        const Vec3& p = inner[static_cast<std::size_t>(k - 1)];
        const double distance = std::abs(dx * (p.y - ay) - dy * (p.x - ax)) / std::hypot(dx, dy);
        EXPECT_NEAR(distance, 0.03, 1e-12) << c.n << "/" << c.step << " corner " << k;
      }
    }
  }
}

TEST(VrmlFrames, LayoutHoldsInnerPointsThenCentresOfWholeStars) {
  Model model;
  add_polygon_vertices(model, 0, 5, 1.0);
  add_face(model, {0, 1, 2}, 1, "f");         // framed in both drawings
  add_face(model, {0, 1, 2, 3, 4}, 2);        // a star: whole, or framed
  add_face(model, {0, 1, 2, 3, 4}, 2, "s");   // stays whole in the frame style
  add_face(model, {0, 1, 2, 3, 4}, 2, "ft");  // frame band, whole in TRANS
  add_face(model, {0, 1, 2, 3, 4}, 2, "B");   // never drawn
  RunSettings settings;
  const CoordinateLayout solid = plan_coordinates(model, settings, {FaceDrawing::kSolid});
  EXPECT_EQ(solid.inner_start, (std::vector<int>{-1, 5, -1, -1, 8, -1}));
  EXPECT_EQ(solid.centre, (std::vector<int>{-1, -1, 13, 14, 15, -1}));
  EXPECT_EQ(solid.points.size(), 16u);
  const CoordinateLayout frame = plan_coordinates(model, settings, {FaceDrawing::kFrame});
  EXPECT_EQ(frame.inner_start, (std::vector<int>{-1, 5, 8, -1, 13, -1}));
  EXPECT_EQ(frame.centre, (std::vector<int>{-1, -1, -1, 18, 19, -1}));
  EXPECT_THROW(face_index_lines(model, frame, 3, FaceForm::kFrame), std::logic_error);
}

TEST(VrmlEdges, DrawsAndColoursEdgesByTheirFaces) {
  struct Case {
    const char* first;
    const char* second;
    int mark;
    double target;
    std::optional<int> colour;
  };
  const Case cases[] = {
      {"", "", 0, 1.0, 0},
      {"", "", 11, 1.0, 2},
      {"", "", 2, 1.0, 0},
      {"E", "", 0, 1.0, 2},
      {"e", "", 0, 1.0, 0},
      {"e", "e", 0, 1.0, 2},
      {"B", "", 0, 1.0, 1},
      {"", "B", 0, 1.0, 1},
      {"B", "B", 0, 1.0, std::nullopt},
      {"B", "BE", 0, 1.0, 2},
      {"Be", "Be", 0, 1.0, 2},
      {"B", "B", 1, 1.0, std::nullopt},
      {"", "", 0, 1.5, std::nullopt},
  };
  for (const Case& c : cases) {
    Model model;
    add_polygon_vertices(model, 1, 3, 1.0);
    add_face(model, {1, 2, 3}, 1, c.first);
    add_face(model, {3, 2, 1}, 1, c.second);
    model.EdgeCount = 1;
    model.EdgeVertices(1, 1) = 1;
    model.EdgeVertices(1, 2) = 2;
    model.EdgeVertices(1, 3) = c.mark;
    model.EdgeFaces(1, 1) = 1;
    model.EdgeFaces(1, 2) = 2;
    model.EdgeTarget(1) = c.target;
    EXPECT_EQ(edge_line_colour(model, 1), c.colour)
        << "'" << c.first << "' '" << c.second << "' mark " << c.mark;
  }
}

TEST(VrmlFaceSet, TransparentFacesAndEdgesFollowTheMainSet) {
  Writer writer;
  add_polygon_vertices(writer.model, 1, 5, 1.0);
  add_face(writer.model, {1, 2, 3});
  add_face(writer.model, {1, 2, 3, 4, 5}, 2, "ft");
  writer.settings.TransLevel = "0.5";
  writer.settings.Edge = true;
  const std::vector<std::string> lines = writer.face_set(FaceDrawing::kSolid);
  const std::vector<std::string> transparent = section(lines, "  DEF TRANS Shape{", "}");
  EXPECT_EQ(section(transparent, "    coordIndex[", "    ]").size(), 5u);  // the star whole
  EXPECT_EQ(section(transparent, "    colorIndex[", " "),
            std::vector<std::string>{"       11 , 11 , 11 , 11 , 11 ,"});
  EXPECT_NE(std::find(transparent.begin(), transparent.end(), "        transparency 0.50"),
            transparent.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  DEF EDGES Shape{"), lines.end());

  Writer plain;
  add_polygon_vertices(plain.model, 1, 3, 1.0);
  add_face(plain.model, {1, 2, 3}, 1, "Bt");  // hidden: no transparent set for it
  const std::vector<std::string> none = plain.face_set(FaceDrawing::kSolid);
  EXPECT_EQ(std::find(none.begin(), none.end(), "  DEF TRANS Shape{"), none.end());
  EXPECT_EQ(std::find(none.begin(), none.end(), "  DEF EDGES Shape{"), none.end());
}

TEST(VrmlFaceSet, CreaseAngleTypedInDegreesIsWrittenInRadians) {
  struct Case {
    bool smooth;
    const char* text;
    const char* written;
  };
  const Case cases[] = {
      {false, "30", ""},
      {true, "30", "      creaseAngle 0.523599\r\n"},
      {true, "180", "      creaseAngle 3.141593\r\n"},
      {true, " 0.5 ", "      creaseAngle 0.008727\r\n"},
      {true, "", "      creaseAngle 0.0\r\n"},
      {true, "half", "      creaseAngle 0.0\r\n"},
  };
  for (const Case& c : cases) {
    RunSettings settings;
    settings.Smooth = c.smooth;
    settings.SmoothAngle = c.text;
    std::ostringstream out;
    write_crease_angle(out, settings);
    EXPECT_EQ(out.str(), c.written) << c.text;
  }
}

TEST(VrmlLabels, BillboardLabelsDefineTheirLookOnce) {
  Writer writer;
  add_vertex(writer.model, 1, 1, 0, 0);
  add_vertex(writer.model, 2, 0, 2, 0);
  add_face(writer.model, {1, 2, 1}, 1, "B");  // hidden faces get no label
  add_face(writer.model, {1, 2, 1});
  writer.settings.Labelling = true;
  writer.settings.SideLab = true;
  writer.context.ViewingDistance = 5;
  const std::vector<std::string> lines =
      writer.lines([](std::ostream& out, const VrmlInputs& in) { write_labels(out, in); });
  // Vertex 1: 22 lines that define App1 and Fons1; vertex 2: 14 that use them; face 2: 22.
  ASSERT_EQ(lines.size(), 58u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
            (std::vector<std::string>{"Transform {", " translation 1.01 0.0 0.0", "  children[",
                                      "  Billboard {", "  axisOfRotation  0 0 0", "  children[",
                                      "   Shape{", "    appearance DEF App1 Appearance {"}));
  EXPECT_EQ(lines[10], "      emissiveColor 1.000 1.000 1.000");
  EXPECT_EQ(lines[13], "      fontStyle DEF Fons1 FontStyle {");
  EXPECT_EQ(lines[14], "        size 0.1");  // viewing distance / 50
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 18, lines.begin() + 24),
            (std::vector<std::string>{"      string \" 1 \"", "}}]}", "]}", " ", "Transform {",
                                      " translation 0.0 2.02 0.0"}));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 29, lines.begin() + 33),
            (std::vector<std::string>{"    appearance USE App1", "    geometry Text {",
                                      "      fontStyle USE Fons1", "      string \" 2 \""}));
  EXPECT_EQ(lines[36 + 1], " translation 0.67333333 0.67333333 0.0");  // centre of face 2
  EXPECT_EQ(lines[36 + 7], "    appearance DEF App2 Appearance {");
  EXPECT_EQ(lines[36 + 13], "      fontStyle DEF Fons2 FontStyle {");
  EXPECT_EQ(lines[36 + 18], "      string \" 2 \"");
}

TEST(VrmlLabels, StandardLabelsAreTurnedToFaceOutwards) {
  struct Case {
    double x, y, z;
    const char* rotation;
    const char* translation;
  };
  const Case cases[] = {
      {2, 0, 0, " rotation 0.0 1.0 0.0 1.57079633", " translation 2.1 0.0 0.0"},
      {0, 0, 1, " rotation 0.0 1.0 0.0 0.0", " translation 0.0 0.0 1.05"},
      {0, 0, -1, " rotation 0.0 1.0 0.0 3.14159265", " translation 0.0 0.0 -1.05"},
      {0, -3, 0, " rotation 1.0 0.0 0.0 1.57079633", " translation 0.0 -3.15 0.0"},
  };
  for (const Case& c : cases) {
    Writer writer;
    add_vertex(writer.model, 1, c.x, c.y, c.z);
    writer.settings.Labelling = true;
    writer.settings.VertexLabel = 0;
    writer.settings.HighVert = true;  // adds VertexSize × 0.005 to the factor 1
    writer.settings.VertexSize = "10";
    const std::vector<std::string> lines =
        writer.lines([](std::ostream& out, const VrmlInputs& in) { write_labels(out, in); });
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[1], c.rotation);
    EXPECT_EQ(lines[2], c.translation);
    EXPECT_EQ(lines[3], "  children[");
    EXPECT_EQ(lines[4], "   Shape{");
    EXPECT_EQ(lines.back(), " ");
    EXPECT_EQ(lines[lines.size() - 2], "}}]}");
  }
}

TEST(VrmlSpheres, DrawFlaggedInputVerticesAndReportWhatTheyFound) {
  struct Case {
    std::vector<const char*> flags;  // vertices 1..4
    SphereOptions options;
    SphereStep step;
    int spheres;
  };
  const Case cases[] = {
      {{"", "", "", ""}, {}, SphereStep::kNotRun, 0},
      {{"", "v", "", ""}, {}, SphereStep::kNoneDrawn, 0},
      {{"", "V", "", "V"}, {}, SphereStep::kDrawn, 1},  // vertex 4 was added by the engine
      {{"V", "V", "V", "V"}, {}, SphereStep::kDrawn, 3},
      {{"", "", "", ""}, {true, false, 1}, SphereStep::kDrawn, 3},
  };
  for (const Case& c : cases) {
    Writer writer;
    for (int v = 1; v <= 4; ++v) add_vertex(writer.model, v, v, 0, 0, c.flags[v - 1]);
    writer.context.InputLastVertex = 3;
    SphereStep step = SphereStep::kNotRun;
    const std::vector<std::string> lines =
        writer.lines([&](std::ostream& out, const VrmlInputs& in) {
          step = write_vertex_spheres(out, in, c.options);
        });
    EXPECT_EQ(step, c.step);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "     DEF Balls Shape {") +
                  std::count(lines.begin(), lines.end(), "   children USE Balls"),
              c.spheres);
  }

  Writer writer;
  add_vertex(writer.model, 1, 1, 0, 0, "V");
  add_vertex(writer.model, 2, 0.5, 0, 0, "V");
  writer.settings.VertexSize = "7";
  const std::vector<std::string> lines = writer.lines([](std::ostream& out, const VrmlInputs& in) {
    write_vertex_spheres(out, in, {false, true, 2});
  });
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[1], " translation 1.0 0.0 0.0");
  EXPECT_EQ(lines[3], "      DEF Balls2 Shape {");
  EXPECT_EQ(lines[6], "           diffuseColor 1.000 1.000 1.000");
  EXPECT_EQ(lines[11], "         radius 0.070");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 16, lines.end()),
            (std::vector<std::string>{"", "  Transform {", "   children USE Balls2",
                                      "   translation 0.5 0.0 0.0", " }", ""}));
}

TEST(VrmlClosers, DummySphereIsLeftOutOnlyWhenTheSphereStepFoundNothing) {
  Writer writer;
  const auto closers = [&](SphereStep step) {
    return writer.lines(
        [step](std::ostream& out, const VrmlInputs& in) { write_closers(out, in, step); });
  };
  EXPECT_TRUE(closers(SphereStep::kNoneDrawn).empty());
  const std::vector<std::string> sphere = closers(SphereStep::kNotRun);
  ASSERT_EQ(sphere.size(), 17u);
  EXPECT_EQ(sphere[0], "# Dummy sphere to reset centre of rotation to origin");
  EXPECT_EQ(sphere[7], "           transparency 1");
  EXPECT_EQ(closers(SphereStep::kDrawn), sphere);
}

TEST(VrmlPlacement, SegmentOptionsPlaceOnlySegmentedFiles) {
  RunSettings settings;
  settings.SegEdge = {"", "2", "", "1", "1", "1"};
  settings.SegX = {"", "5", "1", "0", "0", "0"};
  settings.FlipY = {false, false, true, false, false, false};
  OutputContext context;
  const Vec3 p{1, 2, 3};
  const Vec3 ordinary = label_placement(settings, context).apply(p);
  EXPECT_EQ(ordinary.x, 1.0);
  EXPECT_EQ(ordinary.y, 2.0);
  EXPECT_EQ(ordinary.z, 3.0);
  context.SegmentCount = 2;
  const Vec3 first = label_placement(settings, context).apply(p);
  EXPECT_EQ(first.x, 7.0);
  EXPECT_EQ(first.z, 6.0);
  context.CurrentSegment = 2;  // an empty edge length reads as 1
  const Vec3 second = label_placement(settings, context).apply(p);
  EXPECT_EQ(second.x, 2.0);
  EXPECT_EQ(second.y, -2.0);
  EXPECT_EQ(second.z, 3.0);
}

}  // namespace
}  // namespace ostrel
