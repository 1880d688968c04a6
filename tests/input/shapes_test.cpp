#include "input/shapes.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace ostrel {
namespace {

TEST(Shapes, TablesAndNames) {
  const struct {
    SpecialShape::Kind kind;
    const char* size;
    int last_vertex;
    int faces;
    const char* name;
  } cases[] = {
      {SpecialShape::kPrism, "5", 10, 7, "prism5"},
      {SpecialShape::kAntiprism, "5/2", 10, 12, "antiprism5-2"},
      {SpecialShape::kPyramid, "4", 5, 5, "pyramid4"},
      {SpecialShape::kPolygon, "7", 7, 1, "polygon7"},
      {SpecialShape::kAntiprism, "8/3", 16, 18, "antiprism8-3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SpecialShape shape{c.kind, 0, 1};
    read_shape_size(c.size, shape);
    EXPECT_EQ(shape_size_problem(shape), "");
    auto model = std::make_unique<Model>();
    build_shape(*model, shape);
    EXPECT_EQ(model->FirstVertex, 1);
    EXPECT_EQ(model->LastVertex, c.last_vertex);
    EXPECT_EQ(model->FaceCount, c.faces);
    EXPECT_EQ(shape_base_name(shape), c.name);
    EXPECT_EQ(model->FaceStep(1), shape.d);
    // Every edge is shared by exactly two faces (a closed surface), except for the polygon.
    if (c.kind == SpecialShape::kPolygon) continue;
    std::map<std::pair<int, int>, int> uses;
    for (int f = 1; f <= model->FaceCount; ++f) {
      int n = model->FaceSides(f);
      for (int k = 1; k <= n; ++k) {
        int a = model->FaceVertices(f, k);
        int b = model->FaceVertices(f, k % n + 1);
        ++uses[{std::min(a, b), std::max(a, b)}];
      }
    }
    for (const auto& [edge, count] : uses) EXPECT_EQ(count, 2) << edge.first << "-" << edge.second;
  }
}

TEST(Shapes, AntiprismOnAPentagramHasTwoStarsAndTenTriangles) {
  SpecialShape shape{SpecialShape::kAntiprism, 5, 2};
  auto model = std::make_unique<Model>();
  build_shape(*model, shape);
  int stars = 0;
  int triangles = 0;
  for (int f = 1; f <= model->FaceCount; ++f) {
    if (model->FaceSides(f) == 5 && model->FaceStep(f) == 2) ++stars;
    if (model->FaceSides(f) == 3 && model->FaceStep(f) == 1) ++triangles;
  }
  EXPECT_EQ(stars, 2);
  EXPECT_EQ(triangles, 10);
}

TEST(Shapes, SizesTheModelCannotHoldAreRefused) {
  const struct {
    const char* size;
    const char* problem;
  } cases[] = {
      {"2", "Error: A polygon needs at least 3 corners, not 2"},
      {"", "Error: A polygon needs at least 3 corners, not 0"},
      {"41", "Error: A polygon can have at most 40 corners, not 41"},
      {"6/2", "Error: 6/2 is not one star polygon: 6 and 2 share a factor"},
      {"27/13",
       "Error: The step of 27/13 must be from 1 to 12 and less than the number of corners"},
      {"5/5", "Error: The step of 5/5 must be from 1 to 12 and less than the number of corners"},
  };
  for (const auto& c : cases) {
    SpecialShape shape{SpecialShape::kPrism, 0, 1};
    read_shape_size(c.size, shape);
    EXPECT_EQ(shape_size_problem(shape), c.problem) << c.size;
  }
}

}  // namespace
}  // namespace ostrel
