#include "prepare/edge_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "input/parser.h"
#include "prepare/star_polygons.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

std::unique_ptr<Model> prepared(std::string_view text, double weaken_limit = 99) {
  auto model = std::make_unique<Model>();
  model->start_pass();
  test::MessageRecorder messages;
  EXPECT_TRUE(parse_input(*model, text, ParseRequest{}, messages).ok());
  EXPECT_EQ(order_star_corners(*model, nullptr), "");
  build_edge_table(*model, weaken_limit, nullptr);
  apply_edge_marks(*model);
  return model;
}

int find_edge(const Model& model, int a, int b) {
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (model.EdgeVertices(e, 1) == a && model.EdgeVertices(e, 2) == b) return e;
  }
  return 0;
}

const char* kCube = "{1,2,3,4,-1,5,8,7,6,-1,1,5,6,2,-1,2,6,7,3,-1,3,7,8,4,-1,4,8,5,1,-1,}";

TEST(EdgeTable, CubeEdgesAreMergedWithTheirTwoFaces) {
  auto model = prepared(kCube);
  ASSERT_EQ(model->EdgeCount, 12);
  for (int e = 1; e <= 12; ++e) {
    EXPECT_LT(model->EdgeVertices(e, 1), model->EdgeVertices(e, 2));
    EXPECT_GT(model->EdgeFaces(e, 1), 0);
    EXPECT_GT(model->EdgeFaces(e, 2), 0);
    EXPECT_EQ(model->EdgeClass(e), 1);  // without weakening every face side is class 1
    EXPECT_DOUBLE_EQ(model->EdgeTarget(e), 1.0);
  }
  int e = find_edge(*model, 1, 2);
  EXPECT_EQ(model->EdgeFaces(e, 1), 1);
  EXPECT_EQ(model->EdgeFaces(e, 2), 3);
}

TEST(EdgeTable, WeakeningClassesEdgesByTheirFaces) {
  // A pentagonal pyramid: five triangles and a pentagon.
  const char* pyramid = "{1,2,3,4,5,-1,1,2,6,-1,2,3,6,-1,3,4,6,-1,4,5,6,-1,5,1,6,-1,}";
  auto model = prepared(pyramid, 3);
  for (int e = 1; e <= model->EdgeCount; ++e) {
    bool touches_pentagon = model->EdgeFaces(e, 1) == 1 || model->EdgeFaces(e, 2) == 1;
    EXPECT_EQ(model->EdgeClass(e), touches_pentagon ? 2 : 1) << e;
  }
  EXPECT_EQ(count_weakenable_edges(*model, 3), 5);
  EXPECT_EQ(count_weakenable_edges(*model, 2), 0);  // the weakening error follows
}

TEST(EdgeTable, PentagramHasOutlineAndStarEdges) {
  auto model = prepared("{1,2,3,4,5,-2,}", 99);
  ASSERT_EQ(model->EdgeCount, 10);
  int outline = 0;
  int star = 0;
  for (int e = 1; e <= 10; ++e) {
    if (std::abs(model->EdgeTarget(e) - 0.6180339887) < 1e-9) {
      ++outline;
      EXPECT_EQ(model->EdgeClass(e), 1);
    } else {
      ++star;
      EXPECT_DOUBLE_EQ(model->EdgeTarget(e), 1.0);
      EXPECT_EQ(model->EdgeClass(e), 2);
    }
  }
  EXPECT_EQ(outline, 5);
  EXPECT_EQ(star, 5);
  EXPECT_GT(find_edge(*model, 1, 2), 0);  // 1-2 is a true edge of the star as listed
  EXPECT_NEAR(model->EdgeTarget(find_edge(*model, 1, 2)), 1.0, 1e-12);
}

TEST(EdgeTable, FreeFaceSidesAreClassTwoAndMarksReachTheirEdges) {
  auto model = prepared("{n1,2,3,4,-1,1;2,5,-1,5,2,3\\-1,}");
  for (int e = 1; e <= model->EdgeCount; ++e) {
    bool square_side = model->EdgeFaces(e, 1) == 1;
    if (square_side) {
      EXPECT_EQ(model->EdgeClass(e), 2) << e;
    }
  }
  EXPECT_EQ(model->EdgeVertices(find_edge(*model, 1, 2), 3), kHighlightMark);
  EXPECT_EQ(model->EdgeVertices(find_edge(*model, 3, 5), 3), kCylinderMark);  // the edge back to 5
  EXPECT_EQ(model->EdgeVertices(find_edge(*model, 2, 3), 3), kNoMark);
}

// The merge as plainly stated: compare each edge with every earlier one.
void merge_edges_plainly(Model& model) {
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (model.EdgeVertices(e, 1) > model.EdgeVertices(e, 2)) {
      std::swap(model.EdgeVertices(e, 1), model.EdgeVertices(e, 2));
    }
    for (int e2 = 1; e2 < e; ++e2) {
      if (model.EdgeVertices(e2, 1) == model.EdgeVertices(e, 1) &&
          model.EdgeVertices(e2, 2) == model.EdgeVertices(e, 2)) {
        model.EdgeClass(e2) = std::max(model.EdgeClass(e2), model.EdgeClass(e));
        model.EdgeFaces(e2, 2) = model.EdgeFaces(e, 1);
        model.EdgeVertices(e, 1) = -1;
        break;
      }
    }
  }
  int kept = 0;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (model.EdgeVertices(e, 1) == -1) continue;
    ++kept;
    for (int c = 1; c <= 3; ++c) model.EdgeVertices(kept, c) = model.EdgeVertices(e, c);
    model.EdgeClass(kept) = model.EdgeClass(e);
    model.EdgeTarget(kept) = model.EdgeTarget(e);
    model.EdgeFaces(kept, 1) = model.EdgeFaces(e, 1);
    model.EdgeFaces(kept, 2) = model.EdgeFaces(e, 2);
  }
  model.EdgeCount = kept;
}

TEST(EdgeTable, FastMergeGivesThePlainTable) {
  std::mt19937 random(12345);
  for (int trial = 0; trial < 50; ++trial) {
    auto fast = std::make_unique<Model>();
    auto plain = std::make_unique<Model>();
    int vertices = 4 + static_cast<int>(random() % 12);
    int edges = 1 + static_cast<int>(random() % 200);
    for (Model* model : {fast.get(), plain.get()}) model->EdgeCount = edges;
    for (int e = 1; e <= edges; ++e) {
      int a = 1 + static_cast<int>(random() % vertices);
      int b = 1 + static_cast<int>(random() % vertices);
      int edge_class = 1 + static_cast<int>(random() % 2);
      int face = 1 + static_cast<int>(random() % 30);
      double target = (random() % 2) ? 1.0 : 0.618;
      for (Model* model : {fast.get(), plain.get()}) {
        model->EdgeVertices(e, 1) = a;
        model->EdgeVertices(e, 2) = b;
        model->EdgeVertices(e, 3) = 0;
        model->EdgeClass(e) = edge_class;
        model->EdgeTarget(e) = target;
        model->EdgeFaces(e, 1) = face;
        model->EdgeFaces(e, 2) = 0;
      }
    }
    merge_edges(*fast);
    merge_edges_plainly(*plain);
    ASSERT_EQ(fast->EdgeCount, plain->EdgeCount) << trial;
    for (int e = 1; e <= fast->EdgeCount; ++e) {
      for (int c = 1; c <= 3; ++c) ASSERT_EQ(fast->EdgeVertices(e, c), plain->EdgeVertices(e, c));
      ASSERT_EQ(fast->EdgeClass(e), plain->EdgeClass(e));
      ASSERT_EQ(fast->EdgeTarget(e), plain->EdgeTarget(e));
      ASSERT_EQ(fast->EdgeFaces(e, 1), plain->EdgeFaces(e, 1));
      ASSERT_EQ(fast->EdgeFaces(e, 2), plain->EdgeFaces(e, 2));
    }
  }
}

TEST(EdgeTable, VertexLinks) {
  auto model = prepared(kCube);
  auto links = std::make_unique<VertexLinkTable>();
  DebugLog debug;
  build_vertex_links(*model, *links, &debug);
  for (int v = 1; v <= 8; ++v) EXPECT_EQ(links->VertexLinkCount(v), 3);
  EXPECT_EQ(debug.lines().front(), "vertex: 1   linked to:  2  4  5 ( 3 )");
}

}  // namespace
}  // namespace ostrel
