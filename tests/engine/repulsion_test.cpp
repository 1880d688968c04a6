// The close pairs of unrelated vertices found on a grid are exactly those a look at every pair
// finds.
#include "engine/start/repulsion.h"

#include <gtest/gtest.h>

#include <random>

namespace ostrel {
namespace {

TEST(Repulsion, GridFindsWhatEveryPairFinds) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-3.0, 3.0);
  Model model;
  model.FirstVertex = 1;
  model.LastVertex = 300;
  for (int v = 1; v <= 300; ++v) {
    model.VertexX(v) = coordinate(random);
    model.VertexY(v) = coordinate(random);
    model.VertexZ(v) = v % 7 == 0 ? model.VertexX(v) : coordinate(random);  // some very close
  }
  model.VertexX(300) = model.VertexX(299);  // two that coincide
  model.VertexY(300) = model.VertexY(299);
  model.VertexZ(300) = model.VertexZ(299);
  // Faces and edges make some close pairs related.
  for (int f = 1; f <= 100; ++f) {
    model.FaceSides(f) = 3;
    for (int k = 1; k <= 3; ++k) model.FaceVertices(f, k) = 1 + static_cast<int>(random() % 300);
  }
  model.FaceCount = model.FaceEntryCount = 100;
  model.EdgeCount = 1;
  model.EdgeVertices(1, 1) = 299;
  model.EdgeVertices(1, 2) = 298;

  Repulsion repulsion(model, 0.7);
  std::vector<std::pair<int, int>> plain;
  for (int a = 1; a <= 300; ++a) {
    for (int b = a + 1; b <= 300; ++b) {
      const double dx = model.VertexX(a) - model.VertexX(b);
      const double dy = model.VertexY(a) - model.VertexY(b);
      const double dz = model.VertexZ(a) - model.VertexZ(b);
      if (dx * dx + dy * dy + dz * dz < 0.49 && !repulsion.related(a, b)) plain.emplace_back(a, b);
    }
  }
  std::vector<std::pair<int, int>> found = repulsion.close_pairs(model);
  std::sort(found.begin(), found.end());
  EXPECT_GT(plain.size(), 10u);
  EXPECT_EQ(found, plain);
}

}  // namespace
}  // namespace ostrel
