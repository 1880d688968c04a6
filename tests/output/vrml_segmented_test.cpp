#include "output/vrml_segmented.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/run_error.h"
#include "output/segmented.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

void set_face(Model& model, int face, const std::vector<int>& corners, int step = 1,
              const std::string& flags = "") {
  model.FaceSides(face) = static_cast<int>(corners.size());
  model.FaceStep(face) = step;
  model.FaceFlags(face) = flags;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    model.FaceVertices(face, static_cast<long>(k) + 1) = corners[k];
  }
}

void set_vertex(Model& model, int v, double x, double y, double z) {
  model.VertexX(v) = x;
  model.VertexY(v) = y;
  model.VertexZ(v) = z;
}

struct Segments {
  Model run;
  SegmentedModel segmented;
};

using Adjust = std::function<void(Model&, int segment)>;

// Segment 1: a square pyramid on vertices 1..5; segment 2: a triangle on vertices 1..3, vertex 1
// at (0.5, 0.25, 0). `adjust` may change each segment before it is stored. Realm face 1 joins
// vertices 1, 2 of segment 1 to vertices 2, 1 of segment 2 (CSEG points 0, 1, 6, 5) and is
// flagged yellow; realm face 2 is a two-corner link from vertex 3 of segment 1 to vertex 3 of
// segment 2 (points 2 and 7).
std::unique_ptr<Segments> two_segments(const Adjust& adjust = {}) {
  auto s = std::make_unique<Segments>();
  Model& run = s->run;
  s->segmented.SegmentCount = 2;

  run.FirstVertex = 1;
  run.LastVertex = 5;
  test::add_square_vertices(run, 1, 0);
  set_vertex(run, 5, 0, 0, 0.7);
  run.FaceCount = 5;
  set_face(run, 1, {4, 3, 2, 1});
  for (int k = 1; k <= 4; ++k) set_face(run, k + 1, {k, k % 4 + 1, 5});
  if (adjust) adjust(run, 1);
  store_segment(s->segmented, run, 1);

  run.LastVertex = 3;
  set_vertex(run, 1, 0.5, 0.25, 0);
  set_vertex(run, 2, -0.5, 0.25, 0);
  set_vertex(run, 3, 0, -0.6, 0);
  run.FaceCount = 1;
  set_face(run, 1, {1, 2, 3});
  if (adjust) adjust(run, 2);
  store_segment(s->segmented, run, 2);

  s->segmented.store.RealmFaceNo = 3;
  s->segmented.store.RealmFaceSides(1) = 4;
  s->segmented.store.RealmFaceFlags(1) = "Qy";
  const std::array<std::array<int, 2>, 4> corners{{{1, 1}, {1, 2}, {2, 2}, {2, 1}}};
  for (int k = 1; k <= 4; ++k) {
    s->segmented.store.RealmFaceSegment(1, k) = corners[static_cast<std::size_t>(k - 1)][0];
    s->segmented.store.RealmFaceVertex(1, k) = corners[static_cast<std::size_t>(k - 1)][1];
  }
  s->segmented.store.RealmFaceSides(2) = 2;
  for (int k = 1; k <= 2; ++k) {
    s->segmented.store.RealmFaceSegment(2, k) = k;
    s->segmented.store.RealmFaceVertex(2, k) = 3;
  }
  return s;
}

OutputContext segmented_context() {
  OutputContext context = test::output_context("pair");
  context.SegmentCount = 2;
  context.ViewingDistance = 3;
  return context;
}

std::string written(const Segments& s, const RunSettings& settings,
                    test::MessageRecorder* messages = nullptr) {
  test::MessageRecorder recorder;
  std::ostringstream out;
  write_segmented_vrml(out, s.segmented, s.run, settings, segmented_context(),
                       messages ? *messages : recorder);
  return out.str();
}

int count(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

// The text from the first `from` up to the next `to` after it.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t start = text.find(from);
  if (start == std::string::npos) return {};
  const std::size_t end = text.find(to, start + from.size());
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST(SegmentedVrml, TwoSegmentsGiveTwoFrameShapesTwoSolidShapesAndOneLinkShape) {
  const std::string text = written(*two_segments(), RunSettings{});
  EXPECT_EQ(count(text, "coord DEF C1 Coordinate{"), 1);
  EXPECT_EQ(count(text, "coord DEF C2 Coordinate{"), 1);
  EXPECT_EQ(count(text, "    geometry IndexedFaceSet {\r\n"), 2);  // the solid shapes
  EXPECT_EQ(count(text, "      coord USE C1\r\n"), 1);
  EXPECT_EQ(count(text, "      coord USE C2\r\n"), 1);
  EXPECT_EQ(count(text, "coord DEF CSEG Coordinate{"), 1);
  EXPECT_EQ(count(text, "geometry IndexedLineSet{"), 1);
  // The first frame shape defines the colour table; every later shape uses it.
  EXPECT_EQ(count(text, "color DEF COL Color{"), 1);
  EXPECT_EQ(count(text, "      color USE COL\r\n"), 4);
  const std::size_t order[] = {text.find("color DEF COL"), text.find("coord DEF C1"),
                               text.find("coord USE C1"),  text.find("coord DEF C2"),
                               text.find("coord USE C2"),  text.find("coord DEF CSEG")};
  EXPECT_TRUE(std::is_sorted(std::begin(order), std::end(order)));
  // Frames: one quadrilateral per side; the solid shape holds the faces whole, transparent.
  EXPECT_NE(text.find("    coordIndex[\r\n      0 , 1 , 4 , 3 , -1,\r\n"), std::string::npos);
  EXPECT_NE(between(text, "coord USE C2", "appearance").find("      0 , 1 , 2 ,-1,\r\n"),
            std::string::npos);
  EXPECT_NE(between(text, "coord USE C2", "Transform {").find("        transparency 0.50\r\n"),
            std::string::npos);
  // The frame shape is as transparent as the solid shape.
  const std::string frame2 = between(text, "coord DEF C2", "coord USE C2");
  EXPECT_NE(frame2.find("        specularColor 1 1 1\r\n        transparency 0.50\r\n"),
            std::string::npos);
  // The realm face joins the two segments' points; the two-corner link is no face.
  EXPECT_NE(text.find("    coordIndex[\r\n      0 , 1 , 6 , 5 ,-1,\r\n    ]\r\n"
                      "    colorIndex[  1 ,\r\n\r\n    ]\r\n"),
            std::string::npos);
  // The dummy sphere stands inside the link shape's Transform, which the file closes last.
  EXPECT_NE(text.find("# Dummy sphere to reset centre of rotation to origin\r\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("   ]\r\n }\r\n\r\n]\r\n}\r\n"));
}

TEST(SegmentedVrml, ColoursPerSegmentOrPerFace) {
  struct Case {
    int seg_colour;
    std::string square_colours;  // the square pyramid's solid shape
    std::string triangle_colours;
    std::string realm_colours;
  };
  const Case cases[] = {
      // Segment colours 16 and 17, highlight or not; the realm face's letter yields to the
      // inter-realm face colour.
      {0, "       16 , 16 , 16 , 16 , 16 ,", "       17 ,", "    colorIndex[  1 ,"},
      // Each face its own index: the square 4, the highlighted triangles 2; the realm face
      // yellow (23).
      {1, "       4 , 2 , 2 , 2 , 2 ,", "       2 ,", "    colorIndex[  23 ,"},
  };
  for (const Case& c : cases) {
    RunSettings settings;
    settings.SegColour = c.seg_colour;
    settings.Highlight = true;
    settings.HighlightVal = "3";
    const std::string text = written(*two_segments(), settings);
    EXPECT_NE(between(text, "coord USE C1", "appearance").find(c.square_colours + "\r\n"),
              std::string::npos)
        << c.seg_colour;
    EXPECT_NE(between(text, "coord USE C2", "appearance").find(c.triangle_colours + "\r\n"),
              std::string::npos)
        << c.seg_colour;
    EXPECT_NE(text.find(c.realm_colours + "\r\n"), std::string::npos) << c.seg_colour;
  }
}

TEST(SegmentedVrml, SegmentOptionsPlaceFramesAndLinkPoints) {
  RunSettings settings;
  settings.SegEdge[2] = "2";
  settings.SegX[2] = "3";
  settings.FlipX[2] = true;
  const std::string text = written(*two_segments(), settings);
  // Segment 2's vertex 1 (0.5, 0.25, 0) is written at (3 - 2 × 0.5, 2 × 0.25, 0).
  EXPECT_NE(text.find("coord DEF C2 Coordinate{\r\n         point[\r\n          2.0 0.5 0.0,\r\n"),
            std::string::npos);
  // In CSEG every row takes its own segment's placement: row 1 stays, row 6 moves.
  const std::string points = between(text, "coord DEF CSEG", "         ]");
  EXPECT_NE(points.find("point[\r\n    0.50000000 0.50000000 0.00000000,\r\n"), std::string::npos);
  EXPECT_NE(points.find("\r\n    2.00000000 0.50000000 0.00000000,\r\n"), std::string::npos);
  EXPECT_EQ(count(points, ",\r\n"), 8);
  EXPECT_NE(text.find("# Segment: 2   Edge Length: 2.00\r\n"), std::string::npos);
}

TEST(SegmentedVrml, SegTransLeavesOutThatSegmentsTransparentFaceSet) {
  for (bool seg_trans : {false, true}) {
    const auto segments = two_segments(
        [](Model& model, int segment) { model.FaceFlags(segment == 1 ? 2 : 1) = "ft"; });
    RunSettings settings;
    settings.SegTrans[1] = seg_trans;
    const std::string text = written(*segments, settings);
    const std::string segment1 = between(text, "coord DEF C1", "coord DEF C2");
    const std::string segment2 = between(text, "coord DEF C2", "coord DEF CSEG");
    EXPECT_EQ(count(segment1, "DEF TRANS Shape{"), seg_trans ? 0 : 1) << seg_trans;
    EXPECT_EQ(count(segment2, "DEF TRANS Shape{"), 1) << seg_trans;
    EXPECT_NE(segment2.find("DEF TRANS Shape{"), std::string::npos);
    EXPECT_LT(segment2.find("DEF TRANS Shape{"), segment2.find("      coord USE C2"));
    // The solid shape of segment 1 stays semi-transparent either way.
    EXPECT_NE(between(segment1, "coord USE C1", "Transform {").find("transparency 0.50"),
              std::string::npos);
  }
}

// Segment 1's edge 1-2 marked "\" and segment 2's edge 1-2 marked "/", each with an unmarked
// edge 2-3 beside it.
void mark_cylinder_edges(Model& model, int segment) {
  model.EdgeCount = 0;
  model.CylinderFlag = segment == 1;
  model.Cylinder2Flag = segment == 2;
  test::add_edge(model, 1, 2, 1, 2, segment == 1 ? kCylinderMark : kCylinder2Mark);
  test::add_edge(model, 2, 3, 1, segment == 1 ? 3 : 0);
}

TEST(SegmentedVrml, MarkedEdgesGetCylindersInTheirSegmentsFrameShape) {
  RunSettings settings;
  settings.SegEdge[2] = "2";
  settings.SegX[2] = "3";
  settings.Edge = true;
  const std::string text = written(*two_segments(mark_cylinder_edges), settings);
  // Each frame shape runs up to its solid shape's "IndexedFaceSet {".
  const std::string frame1 = between(text, "coord DEF C1", "IndexedFaceSet {");
  const std::string frame2 = between(text, "coord DEF C2", "IndexedFaceSet {");
  EXPECT_EQ(count(text, "  DEF Cyl Shape {"), 1);
  EXPECT_EQ(count(text, "  DEF Cyl2 Shape {"), 1);
  // Segment 1's cylinder: from (0.5, 0.5, 0) to (-0.5, 0.5, 0), after the edge line set and
  // before the frame shape's closing "]", "}".
  EXPECT_NE(frame1.find("  translation  0.0 0.5 0.0\r\n  children [\r\n  DEF Cyl Shape {"),
            std::string::npos)
      << frame1;
  EXPECT_LT(frame1.find("DEF EDGES Shape{"), frame1.find("DEF Cyl Shape {"));
  EXPECT_NE(frame1.find("    height 1.0\r\n    }\r\n  }\r\n  ]\r\n}\r\n]\r\n}\r\n"),
            std::string::npos);
  EXPECT_EQ(frame1.find("Cyl2"), std::string::npos);
  // Segment 2's, placed and scaled by its options: (0, 0.25, 0) becomes (3, 0.5, 0), length 2.
  EXPECT_NE(frame2.find("  translation  3.0 0.5 0.0\r\n  children [\r\n  DEF Cyl2 Shape {"),
            std::string::npos)
      << frame2;
  EXPECT_NE(frame2.find("    height 2.0\r\n"), std::string::npos);
  EXPECT_EQ(frame2.find("DEF Cyl "), std::string::npos);
  // The cylinders belong to the segments, not to the end of the file.
  EXPECT_EQ(between(text, "coord DEF CSEG", "# Dummy sphere").find("Cyl"), std::string::npos);
}

TEST(SegmentedVrml, RealmTransDecidesWhetherLinkFacesAreTransparent) {
  for (bool realm_trans : {false, true}) {
    RunSettings settings;
    settings.RealmTrans = realm_trans;
    settings.TransLevel = "0.3";
    const std::string text = written(*two_segments(), settings);
    const std::string link = between(text, "coord DEF CSEG", "geometry IndexedLineSet{");
    EXPECT_EQ(link.find("        specularColor 1 1 1\r\n        transparency 0.30\r\n"
                        "      }\r\n    }\r\n}\r\n") != std::string::npos,
              realm_trans);
    if (!realm_trans) {
      EXPECT_NE(link.find("        specularColor 1 1 1\r\n      }\r\n    }\r\n}\r\n"),
                std::string::npos);
    }
  }
}

TEST(SegmentedVrml, LinkLinesDrawTwoCornerLinksAndWithEdgeEverySide) {
  struct Case {
    bool edge;
    std::string lines;
  };
  const Case cases[] = {
      {false, "    coordIndex[\r\n      2 , 7 ,-1,\r\n    ]\r\n    colorIndex[ 1,\r\n"},
      {true,
       "    coordIndex[\r\n      1 , 0 ,-1,\r\n      6 , 1 ,-1,\r\n      5 , 6 ,-1,\r\n"
       "      0 , 5 ,-1,\r\n      2 , 7 ,-1,\r\n    ]\r\n    colorIndex[ 0,0,0,0,1,\r\n"},
  };
  for (const Case& c : cases) {
    RunSettings settings;
    settings.Edge = c.edge;
    settings.RealmLine = "255.0.0";
    const std::string text = written(*two_segments(), settings);
    const std::string lines = between(text, "geometry IndexedLineSet{", "# Dummy sphere");
    EXPECT_NE(lines.find("color [ 0.000 0.000 0.000,1.000 0.000 0.000]\r\n"), std::string::npos);
    EXPECT_NE(lines.find("    coord USE CSEG\r\n" + c.lines), std::string::npos) << lines;
    // With Edge on, every segment draws its edges in its frame shape.
    EXPECT_EQ(count(text, "DEF EDGES Shape{"), c.edge ? 2 : 0);
  }
}

TEST(SegmentedVrml, RealmFacesWithoutAPointInTheJointTableAreLeftOut) {
  auto segments = two_segments();
  segments->segmented.store.RealmFaceVertex(1, 3) = 9;  // segment 2 has no vertex 9
  const std::string text = written(*segments, RunSettings{});
  EXPECT_NE(text.find("    coordIndex[\r\n    ]\r\n    colorIndex[ \r\n"), std::string::npos);
  EXPECT_NE(text.find("    coordIndex[\r\n      2 , 7 ,-1,\r\n"), std::string::npos);
}

TEST(SegmentedVrml, FirstSegmentWithFacesDefinesTheColourTable) {
  auto segments = two_segments();
  segments->segmented.segments[1].reset();  // segment 1 an anchor segment
  const std::string text = written(*segments, RunSettings{});
  EXPECT_EQ(count(text, "coord DEF C1"), 0);
  EXPECT_EQ(count(text, "color DEF COL Color{"), 1);
  EXPECT_LT(text.find("color DEF COL Color{"), text.find("coord DEF C2"));
  // Without any segment of faces the link shape defines it ("anchor segments only" below).
}

TEST(SegmentedVrml, ARealReaderAcceptsTheFile) {
  if (!test::tovrmlx3d_installed())
    GTEST_SKIP() << "tovrmlx3d is not installed (Debian package view3dscene)";
  struct Case {
    const char* name;
    bool dummy_sphere;
    Adjust adjust;
    void (*settings)(RunSettings&);
    void (*segments)(Segments&);
  };
  const auto none = [](RunSettings&) {};
  const auto keep = [](Segments&) {};
  const Case cases[] = {
      {"plain", true, {}, none, keep},
      {"everything on", true,
       [](Model& model, int segment) {
         model.FaceFlags(segment == 1 ? 2 : 1) = "ft";
         if (segment == 1) model.FaceFlags(3) = "s", model.FaceFlags(4) = "B";
         model.VertexFlags(1) = "V", model.VertexFlags(2) = "V";
       },
       [](RunSettings& s) {
         s.Edge = s.Smooth = s.Labelling = s.SideLab = s.HighVert = true;
         s.SmoothAngle = "20";
         s.VertexLabel = 1;
         s.FlipY[2] = s.FlipZ[2] = true;
         s.SegY[2] = "-1.5";
       },
       keep},
      {"a pentagram segment, standard labels", true,
       [](Model& model, int segment) {
         if (segment != 2) return;
         model.LastVertex = 5;
         for (int k = 1; k <= 5; ++k) {
           set_vertex(model, k, std::cos(1.2566370614359172 * k), std::sin(1.2566370614359172 * k),
                      0);
         }
         set_face(model, 1, {1, 2, 3, 4, 5}, 2, "n");
       },
       [](RunSettings& s) { s.Labelling = true, s.VertexLabel = 0, s.SegColour = 1; }, keep},
      {"cylinder edges in both segments, AllCyl in segment 1", true,
       [](Model& model, int segment) {
         mark_cylinder_edges(model, segment);
         if (segment == 1) model.FaceFlags(2) = "O", model.FaceFlags(3) = "O";
       },
       [](RunSettings& s) { s.AllCyl = true, s.SegEdge[2] = "1.5", s.FlipX[2] = true; }, keep},
      {"spheres asked, none drawn: no dummy sphere", false,
       [](Model& model, int) { model.VertexFlags(1) = "v"; }, none, keep},
      {"anchor segments only",
       true,
       {},
       none,
       [](Segments& s) {
         s.segmented.segments[1].reset();
         s.segmented.segments[2].reset();
       }},
  };
  for (const Case& c : cases) {
    auto segments = two_segments(c.adjust);
    c.segments(*segments);
    RunSettings settings;
    c.settings(settings);
    test::TempDir folder;
    const std::filesystem::path path = folder.path() / "pair.wrl";
    test::MessageRecorder messages;
    write_segmented_vrml_file(path, segments->segmented, segments->run, settings,
                              segmented_context(), messages);
    EXPECT_EQ(count(test::read_file(path), "# Dummy sphere"), c.dummy_sphere ? 1 : 0) << c.name;
    const auto [status, output] = test::read_with_tovrmlx3d(path);
    EXPECT_EQ(status, 0) << c.name << "\n" << output;
    EXPECT_EQ(output.find("Warning"), std::string::npos) << c.name << "\n" << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << c.name << "\n" << output;
    EXPECT_TRUE(messages.messages.empty()) << c.name;
  }
}

TEST(SegmentedVrml, FileSetWritesTheVrmlFileBeforeTheOffFile) {
  const auto segments = two_segments();
  test::TempDir folder;
  OutputContext context = segmented_context();
  context.OutputDirectory = folder.path();
  RunSettings settings;
  settings.OffFile = true;
  test::FileSetHost host;
  test::ErrorRecorder errors;
  std::vector<WrittenFile> files =
      write_segmented_file_set(segments->segmented, segments->run, settings, context, host, errors);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].path, folder.path() / "pair.wrl");
  EXPECT_EQ(files[1].path, folder.path() / "pair.off");
  EXPECT_EQ(test::read_file(files[0].path).substr(0, 17), "#VRML V2.0 utf8\r\n");
  EXPECT_TRUE(errors.numbers.empty());

  // A folder that does not exist: each file is reported and skipped.
  context.OutputDirectory = folder.path() / "missing";
  files =
      write_segmented_file_set(segments->segmented, segments->run, settings, context, host, errors);
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(errors.numbers, (std::vector<int>{kPathNotFound, kPathNotFound}));
}

}  // namespace
}  // namespace ostrel
