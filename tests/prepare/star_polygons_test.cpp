#include "prepare/star_polygons.h"

#include <gtest/gtest.h>

#include <memory>

#include "input/parser.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

std::unique_ptr<Model> parsed(std::string_view text) {
  auto model = std::make_unique<Model>();
  model->start_pass();
  test::MessageRecorder messages;
  ParseResult result = parse_input(*model, text, ParseRequest{}, messages);
  EXPECT_TRUE(result.ok()) << result.message;
  return model;
}

std::vector<int> corners(const Model& model, int face) {
  std::vector<int> list;
  for (int k = 1; k <= model.FaceSides(face); ++k) list.push_back(model.FaceVertices(face, k));
  return list;
}

// Fan collapse, clean-up, compaction and star order as the run chains them.
void prepare(Model& model, RunHost& host, DebugLog* debug = nullptr) {
  collapse_fans(model, host, debug);
  clean_up_vertices(model, debug);
  compact_faces(model);
  EXPECT_EQ(order_star_corners(model, debug), "");
}

TEST(StarPolygons, StarOrderStep) {
  EXPECT_EQ(StarOrderStep(5, 2), 2);
  EXPECT_EQ(StarOrderStep(8, 3), 5);
  EXPECT_EQ(StarOrderStep(10, 3), 3);
  EXPECT_EQ(StarOrderStep(7, 2), 3);
  EXPECT_EQ(StarOrderStep(7, 3), 2);
  EXPECT_EQ(StarOrderStep(6, 2), 0);  // a shared factor: no single star polygon
  for (int n = 3; n <= MaxCorners; ++n) {
    for (int d = 1; d <= MaxStep; ++d) {
      int e = StarOrderStep(n, d);
      if (e != 0) {
        EXPECT_EQ((e * d + 1) % n, 0) << n << "/" << d;
      }
    }
  }
}

TEST(StarPolygons, PentagramListedByEdgesIsReorderedAroundTheOutline) {
  auto model = parsed("{1,2,3,4,5,-2,}");
  test::RecordingHost host;
  prepare(*model, host);
  EXPECT_EQ(corners(*model, 1), (std::vector<int>{1, 3, 5, 2, 4}));
  auto octagram = parsed("{1,2,3,4,5,6,7,8,-3,}");
  prepare(*octagram, host);
  // Each next corner around the outline is 5 steps further along the star's edges (5·3 ≡ −1).
  EXPECT_EQ(corners(*octagram, 1), (std::vector<int>{4, 1, 6, 3, 8, 5, 2, 7}));
}

TEST(StarPolygons, FanOfFiveTrianglesCollapsesIntoAPentagram) {
  auto model = parsed("{6,1,2,-1,6,2,3,-1,6,3,4,-1,6,4,5,-1,6,5,1,-1,}");
  test::RecordingHost host;
  host.answer_yes = true;
  DebugLog debug;
  prepare(*model, host, &debug);
  EXPECT_EQ(host.questions,
            std::vector<std::string>{"Collapse possible star polygon found in input?"});
  ASSERT_EQ(model->FaceCount, 1);
  EXPECT_EQ(model->FaceStep(1), 2);
  EXPECT_EQ(corners(*model, 1), (std::vector<int>{1, 3, 5, 2, 4}));
  EXPECT_EQ(model->LastVertex, 5);  // the centre is gone
  const auto& lines = debug.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "star polygon found : 5 "), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  Centered on vertex:  6 "), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Vertex removed : 6 "), lines.end());
}

TEST(StarPolygons, CollapsedFanKeepsACentreThatAnotherFaceUses) {
  // The fan's spokes 6-1 and 6-2 are marked; the square 6, 1, 7, 2 keeps the centre.
  auto model = parsed("{6,1;2,-1,6,2,3,-1,6,3,4,-1,6,4,5,-1,6,5,1,-1,6;1,7,2,-1,}");
  test::RecordingHost host;
  host.answer_yes = true;
  prepare(*model, host);
  ASSERT_EQ(model->FaceCount, 2);
  EXPECT_EQ(model->LastVertex, 7);
  EXPECT_EQ(corners(*model, 2), (std::vector<int>{6, 1, 7, 2}));
  // Marks stay on their edges: the spoke 6-1 is still an edge; 1-2 is a star edge.
  ASSERT_EQ(model->MarkedEdgeCount, 3);
  EXPECT_EQ(model->MarkedEdges(1, 1), 1);
  EXPECT_EQ(model->MarkedEdges(1, 2), 2);
  EXPECT_EQ(model->MarkedEdges(2, 1), 1);
  EXPECT_EQ(model->MarkedEdges(2, 2), 6);
}

TEST(StarPolygons, MarkedSpokeOfARemovedCentreGoesWithIt) {
  auto model = parsed("{6;1,2,-1,6,2,3,-1,6,3,4,-1,6,4,5,-1,6,5,1,-1,}");
  test::RecordingHost host;
  host.answer_yes = true;
  prepare(*model, host);
  EXPECT_EQ(model->LastVertex, 5);
  EXPECT_EQ(model->MarkedEdgeCount, 1);  // no row left to mark an outline edge
}

TEST(StarPolygons, FanSizesAndAnswers) {
  auto fan = [](int centre, int size) {
    std::string text;
    for (int k = 1; k <= size; ++k) {
      text += std::to_string(centre) + "," + std::to_string(k) + "," +
              std::to_string(k % size + 1) + ",-1,";
    }
    return text;
  };
  {  // four triangles are never offered
    auto model = parsed("{" + fan(9, 4) + "}");
    test::RecordingHost host;
    prepare(*model, host);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(model->FaceCount, 4);
  }
  for (int size : {6, 7}) {  // six or seven become a face of step 1
    auto model = parsed("{" + fan(20, size) + "}");
    test::RecordingHost host;
    host.answer_yes = true;
    prepare(*model, host);
    ASSERT_EQ(model->FaceCount, 1) << size;
    EXPECT_EQ(model->FaceSides(1), size);
    EXPECT_EQ(model->FaceStep(1), 1);
  }
  {  // "No" to the first fan leaves both fans, without a second question
    auto model = parsed("{" + fan(20, 5) + "1,2,8,-1," + fan(21, 5) + "}");
    test::RecordingHost host;
    prepare(*model, host);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(model->FaceCount, 11);
  }
}

TEST(StarPolygons, GapsInTheNumberingAreClosed) {
  auto model = parsed("{V1,2,3,-1,C3,5,6,-1,6,3,-1,(0,0,0, 1,1,1, 2,2,2, 4,4,4, 5,5,5, 6,6,6,)}");
  test::RecordingHost host;
  DebugLog debug;
  prepare(*model, host, &debug);
  EXPECT_EQ(model->LastVertex, 5);
  EXPECT_EQ(corners(*model, 2), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(corners(*model, 3), (std::vector<int>{5, 3}));  // the link follows its vertices
  EXPECT_EQ(model->VertexFlags(3), "C");
  EXPECT_EQ(model->VertexFlags(4), "");
  EXPECT_DOUBLE_EQ(model->StartX(3), 5.0);  // vertex 5, now 4, keeps its starting position
  EXPECT_DOUBLE_EQ(model->StartX(4), 6.0);
  EXPECT_EQ(model->LastStartSlot, 4);
  EXPECT_EQ(debug.lines().front(), "Vertex removed : 4 ");
}

TEST(StarPolygons, CompactionDropsRemovedFacesAndKeepsLinksLast) {
  auto model = parsed("{1,2,3,-1,1,3,4,-1,2,4,5,-1,1,5,-1,}");
  model->FaceSides(2) = 0;
  compact_faces(*model);
  EXPECT_EQ(model->FaceCount, 2);
  EXPECT_EQ(model->LinkCount, 1);
  EXPECT_EQ(corners(*model, 2), (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(corners(*model, 3), (std::vector<int>{1, 5}));
}

TEST(StarPolygons, StarWithASharedFactorIsRefused) {
  auto model = parsed("{1,2,3,4,5,6,-2,}");
  EXPECT_EQ(order_star_corners(*model, nullptr),
            "Input error: Face 1 has 6 corners and step 2, which share a factor; it cannot be "
            "drawn as one star polygon");
}

}  // namespace
}  // namespace ostrel
