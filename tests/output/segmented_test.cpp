#include "output/segmented.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "engine/run.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

// The joint table of two segments of one triangle each, the second `apart` above the first, and
// one realm face: a link joining their vertices 1.
std::unique_ptr<SegmentStore> joined_triangles(double apart) {
  auto model = std::make_unique<SegmentStore>();
  for (int segment = 1; segment <= 2; ++segment) {
    for (int v = 1; v <= 3; ++v) {
      int row = model->JointVertexNext++;
      model->JointVertexSegment(row) = segment;
      model->JointVertexNumber(row) = v;
      model->JointVertexPos(row, 1) = v;
      model->JointVertexPos(row, 3) = segment == 2 ? apart : 0.0;
    }
  }
  model->RealmFaceNo = 2;  // one complete realm face
  model->RealmFaceSides(1) = 2;
  for (int k = 1; k <= 2; ++k) {
    model->RealmFaceVertex(1, k) = 1;
    model->RealmFaceSegment(1, k) = k;
  }
  return model;
}

TEST(Segmented, FourthCoordinateMakesRealmEdgesUnitLong) {
  auto offsets = segment_w_offsets(*joined_triangles(0.6));
  EXPECT_DOUBLE_EQ(offsets[1], 0.0);
  // The realm pair is 0.6 apart: w 0.8 makes it one edge long in four dimensions.
  EXPECT_NEAR(offsets[2], 0.8, 1e-12);
  EXPECT_NEAR(offsets[3], 0.8, 1e-12);  // later segments add up
  EXPECT_DOUBLE_EQ(segment_w_offsets(*joined_triangles(1.5))[2], 0.0);
}

TEST(Segmented, RealmCornersNeedAVertexOfTheirSegment) {
  auto model = joined_triangles(0.5);
  std::vector<int> rows;
  EXPECT_EQ(realm_face_rows(*model, 1, rows), "");
  EXPECT_EQ(rows, (std::vector<int>{1, 4}));
  model->RealmFaceVertex(1, 2) = 9;
  EXPECT_EQ(realm_face_rows(*model, 1, rows),
            "Input error: Realm face 1 joins vertex 9 of segment 2, which has no such vertex");
}

TEST(Segmented, FourDimensionalOffFile) {
  auto model = joined_triangles(0.6);
  SegmentedModel segmented;
  segmented.SegmentCount = 2;
  segmented.store = *model;
  for (int segment = 1; segment <= 2; ++segment) {
    auto part = std::make_unique<Model>();
    part->FirstVertex = 1;
    part->LastVertex = 3;
    part->FaceCount = 1;
    part->FaceSides(1) = 3;
    part->FaceStep(1) = 1;
    for (int k = 1; k <= 3; ++k) part->FaceVertices(1, k) = k;
    segmented.segments[static_cast<std::size_t>(segment)] = std::move(part);
    segmented.first_row[static_cast<std::size_t>(segment)] = 3 * segment - 2;
  }
  RunSettings settings;
  test::MessageRecorder messages;
  OffColourTable colours =
      build_off_colour_table(settings, choose_rhombus_colours(settings, {}), messages);
  const OutputContext context = test::output_context("pair");
  std::ostringstream out;
  write_segmented_off(out, segmented, settings, colours, context);
  std::string text = out.str();
  EXPECT_EQ(text.substr(0, 6), "4OFF\r\n");
  EXPECT_NE(text.find("# Vertices Faces Edges Cells\r\n 6  3 0 0\r\n#\r\n# Vertices\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n3.0 0.0 0.6 0.8\r\n"), std::string::npos);
  // Faces in the colour of their segment, then the realm face.
  EXPECT_NE(text.find("\r\n 3  0  1  2   0 0 255\r\n 3  3  4  5   255 0 0\r\n 2  0  3  255 0 "
                      "0\r\n#\r\n# END\r\n"),
            std::string::npos)
      << text;
}

TEST(Segmented, TwoSegmentRunWritesTheSegmentedFiles) {
  test::TempDir dir;
  test::RecordingHost host;
  RunRequest request;
  request.input = test::example_path("two_triangles_realm.txt");
  request.output_folder = dir.path();
  request.settings.SegmentCount = 2;
  request.seed = 4;
  request.limits.attempts = 10;
  RunReport report = run(request, host);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"W02: two_triangles_realm segmented VRML file written"});
  ASSERT_EQ(report.files.size(), 2u);
  EXPECT_EQ(report.files[0], dir.path() / "two_triangles_realm.wrl");
  EXPECT_EQ(report.files[1], dir.path() / "two_triangles_realm.off");
  EXPECT_EQ(test::read_file(report.files[1]).substr(0, 6), "4OFF\r\n");
}

TEST(Segmented, AnchorSegmentsAreNotRelaxed) {
  test::TempDir dir;
  test::write_file(dir.path() / "anchored.txt", "{1,2,3,-1,}\r\n{LZ}\r\n[1,1,2,-2,1,2,0,-1,]\r\n");
  test::RecordingHost host;
  RunRequest request;
  request.input = dir.path() / "anchored.txt";
  request.output_folder = dir.path();
  request.settings.SegmentCount = 2;
  request.seed = 4;
  run(request, host);
  EXPECT_EQ(host.messages, std::vector<std::string>{"W02: anchored segmented VRML file written"});
  std::string off = test::read_file(dir.path() / "anchored.off");
  // Three vertices of the triangle, the two anchors of the line along z.
  EXPECT_NE(off.find(" 5  2 0 0\r\n"), std::string::npos) << off;
  EXPECT_NE(off.find("\r\n0.0 0.0 -0.5 "), std::string::npos);
}

}  // namespace
}  // namespace ostrel
