#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <string>

#include "core/random.h"
#include "core/vec3.h"
#include "engine/start/build_start.h"
#include "engine/start/grow_start.h"
#include "engine/start/shape_solver.h"
#include "input/parser.h"
#include "prepare/fixed_distances.h"
#include "prepare/load_model.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

struct Loaded {
  std::unique_ptr<Model> model = std::make_unique<Model>();
  std::vector<FixedDistance> pairs;
};

std::unique_ptr<Loaded> load_text(const std::string& text) {
  auto loaded = std::make_unique<Loaded>();
  RunSettings settings;
  settings.InflateOption = 1;  // no hop table: only the fixed distances are wanted
  LoadRequest request;
  request.text = text;
  request.settings = &settings;
  test::RecordingHost dialog;  // answers No
  loaded->model->start_pass();
  EXPECT_TRUE(load_model(*loaded->model, request, dialog).ok());
  loaded->pairs =
      fixed_distances(*loaded->model, loaded->model->FirstVertex, loaded->model->LastVertex);
  return loaded;
}

std::unique_ptr<Loaded> load(const std::string& example) {
  return load_text(read_input_file(test::example_path(example)));
}

// A tower of antiprism layers: `rings` rings of `ring` vertices, triangles between them and a
// face of `ring` corners at each end.
std::string tower(int ring, int rings) {
  const auto v = [ring](int r, int k) { return std::to_string(ring * r + k % ring + 1); };
  std::string text = "{";
  for (int k = ring - 1; k >= 0; --k) text += v(0, k) + ",";
  text += "-1,\n";
  for (int r = 0; r + 1 < rings; ++r) {
    for (int k = 0; k < ring; ++k) {
      text += v(r, k) + "," + v(r, k + 1) + "," + v(r + 1, k) + ",-1,\n";
      text += v(r, k + 1) + "," + v(r + 1, k + 1) + "," + v(r + 1, k) + ",-1,\n";
    }
  }
  for (int k = 0; k < ring; ++k) text += v(rings - 1, k) + ",";
  return text + "-1,\n}";
}

Vec3 position(const Model& model, int v) {
  return {model.VertexX(v), model.VertexY(v), model.VertexZ(v)};
}

double worst_miss(const Model& model, const std::vector<FixedDistance>& pairs) {
  double worst = 0.0;
  for (const FixedDistance& pair : pairs) {
    const double d = std::hypot(model.VertexX(pair.a) - model.VertexX(pair.b),
                                model.VertexY(pair.a) - model.VertexY(pair.b),
                                model.VertexZ(pair.a) - model.VertexZ(pair.b));
    worst = std::max(worst, std::fabs(d - pair.target));
  }
  return worst;
}

// A rigid chain of tetrahedra is built whole, meeting every distance; two random streams give
// two different starts (the turn of the first placements), so that attempts differ.
TEST(RobustStart, BuildsARigidChainWholeAndEachStreamDifferently) {
  auto first = load("tetrahedron_chain_100.txt");
  auto second = load("tetrahedron_chain_100.txt");
  Random one(1), two(2);
  EXPECT_LT(build_start(*first->model, first->pairs, one), 1e-9);
  EXPECT_LT(build_start(*second->model, second->pairs, two), 1e-9);
  EXPECT_LT(worst_miss(*first->model, first->pairs), 1e-6);
  const int v = first->model->LastVertex;
  EXPECT_GT(std::fabs(first->model->VertexX(v) - second->model->VertexX(v)) +
                std::fabs(first->model->VertexY(v) - second->model->VertexY(v)),
            1e-3);
}

// The least squares settle a disturbed cube back onto its distances.
TEST(RobustStart, ShapeSolverSettlesADisturbedSolid) {
  auto loaded = load("cube.txt");
  Model& model = *loaded->model;
  Random random(3);
  ASSERT_LT(build_start(model, loaded->pairs, random), 1e-3);
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    model.VertexX(v) += 0.05 * (random.uniform() - 0.5);
    model.VertexY(v) += 0.05 * (random.uniform() - 0.5);
  }
  const ShapeSolverResult result = solve_shape(model, loaded->pairs, nullptr);
  EXPECT_LT(result.cost, 1e-20);
  EXPECT_LT(worst_miss(model, loaded->pairs), 1e-9);
}

// Long towers grow from a cap into their straight shape: every distance met, no two vertices
// nearer than an edge, the caps far apart. Square rings settled folded flat from a layout; a
// tower of decagons grown ring on ring crumples within thirty rings unless its open end is
// straightened as it grows. Two streams grow a tower differently; a growth called off stops.
TEST(RobustStart, GrowsLongTowersStraightAndEachStreamDifferently) {
  struct Case {
    int ring, rings;
    double span;  // the least distance between the caps' centres
  };
  for (const Case& c : {Case{4, 50, 35.0}, Case{10, 40, 30.0}}) {
    SCOPED_TRACE(c.ring);
    auto loaded = load_text(tower(c.ring, c.rings));
    const Model& model = *loaded->model;
    Random one(1);
    const GrowStartResult grown = grow_start(*loaded->model, loaded->pairs, one);
    EXPECT_TRUE(grown.settled);
    EXPECT_FALSE(grown.folded);
    EXPECT_LT(worst_miss(model, loaded->pairs), 1e-9);
    double nearest = 1e9;
    for (int a = model.FirstVertex; a <= model.LastVertex; ++a) {
      for (int b = a + 1; b <= model.LastVertex; ++b)
        nearest = std::min(nearest, length(position(model, a) - position(model, b)));
    }
    EXPECT_GT(nearest, 0.99);
    Vec3 span{};
    for (int k = 1; k <= c.ring; ++k)
      span = span + position(model, k) - position(model, model.LastVertex + 1 - k);
    EXPECT_GT(length(span) / c.ring, c.span);
  }

  auto first = load_text(tower(4, 20));
  auto second = load_text(tower(4, 20));
  Random one(1), two(2);
  EXPECT_TRUE(grow_start(*first->model, first->pairs, one).settled);
  EXPECT_TRUE(grow_start(*second->model, second->pairs, two).settled);
  EXPECT_GT(length(position(*first->model, 80) - position(*second->model, 80)), 1e-3);

  std::atomic<bool> quit{true};
  CancelCheck cancel(&quit);
  Random three(3);
  EXPECT_FALSE(grow_start(*first->model, first->pairs, three, &cancel).settled);
}

}  // namespace
}  // namespace ostrel
