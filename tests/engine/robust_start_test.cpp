#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/random.h"
#include "engine/start/build_start.h"
#include "engine/start/shape_solver.h"
#include "input/parser.h"
#include "prepare/fixed_distances.h"
#include "prepare/load_model.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

class NoQuestions final : public UserDialog {
 public:
  void message(const std::string&) override {}
  bool ask_yes_no(const std::string&) override { return false; }
};

struct Loaded {
  std::unique_ptr<Model> model = std::make_unique<Model>();
  std::vector<FixedDistance> pairs;
};

std::unique_ptr<Loaded> load(const std::string& example) {
  auto loaded = std::make_unique<Loaded>();
  const std::string text = read_input_file(test::example_path(example));
  RunSettings settings;
  settings.InflateOption = 1;  // no hop table: only the fixed distances are wanted
  LoadRequest request;
  request.text = text;
  request.settings = &settings;
  NoQuestions dialog;
  loaded->model->start_pass();
  EXPECT_TRUE(load_model(*loaded->model, request, dialog).ok());
  loaded->pairs =
      fixed_distances(*loaded->model, loaded->model->FirstVertex, loaded->model->LastVertex);
  return loaded;
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

}  // namespace
}  // namespace ostrel
