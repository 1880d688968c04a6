// The step over corner rings against the benchmarks' plain reference loop (bench/plain_loop.h),
// which builds its own rings with plain index arithmetic: on faces of every ring shape the two
// must move every vertex to the same bits, step after step.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "core/random.h"
#include "engine/relax.h"
#include "input/parser.h"
#include "plain_loop.h"
#include "prepare/edge_table.h"
#include "prepare/inflation.h"
#include "prepare/star_polygons.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

std::unique_ptr<Model> example_model(const std::string& name, const RunSettings& settings) {
  std::ifstream in(std::string(OSTREL_EXAMPLES_DIR) + "/" + name + ".txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto model = std::make_unique<Model>();
  model->start_pass();
  test::MessageRecorder messages;
  EXPECT_TRUE(parse_input(*model, text.str(), ParseRequest{}, messages).ok()) << name;
  EXPECT_EQ(order_star_corners(*model, nullptr), "");
  build_edge_table(*model, settings.weaken_limit(), nullptr);
  for (int k = 1; k <= 6; ++k) model->ForceStrength(k) = settings.force_strength(k);
  Random random(7);
  place_starting_positions(*model, settings, random);
  return model;
}

TEST(CornerRings, StepMovesVerticesAsThePlainLoopDoes) {
  // Squares and triangles (narrow even), pentagons and {5/2} (narrow odd), hexagons (wide
  // even), {7/3} stars (wide odd), decagons (wide even); squares within the weaken limit
  // beside pentagons beyond it.
  RunSettings weakened;
  weakened.Once = weakened.Weaken = true;
  weakened.WeakenLimit = "4";
  struct Case {
    const char* name;
    const RunSettings settings;
  };
  for (const Case& c : {Case{"snub_cube", {}}, Case{"pentagrammic_prism", {}},
                        Case{"truncated_octahedron", {}}, Case{"heptagrammic_prism_7_3", {}},
                        Case{"antiprism_tower_500", {}}, Case{"pentagonal_prism", weakened}}) {
    auto model = example_model(c.name, c.settings);
    Relaxation relaxation(*model, c.settings);
    bench::PlainLoop plain(*model, c.settings);
    double deform = 0.0;
    double deforp = 0.0;
    for (int iteration = 1; iteration <= 200; ++iteration) {
      relaxation.step(iteration, false, deform, deforp);
      plain.step();
    }
    EXPECT_GT(deforp, 0.0) << c.name;
    for (int v = model->FirstVertex; v <= model->LastVertex; ++v) {
      const auto i = static_cast<std::size_t>(v);
      ASSERT_EQ(model->VertexX(v), plain.x[i]) << c.name << " vertex " << v;
      ASSERT_EQ(model->VertexY(v), plain.y[i]) << c.name << " vertex " << v;
      ASSERT_EQ(model->VertexZ(v), plain.z[i]) << c.name << " vertex " << v;
      ASSERT_EQ(relaxation.motion().VertexVelocityX[i], plain.velocity_x[i])
          << c.name << " vertex " << v;
    }
  }
}

}  // namespace
}  // namespace ostrel
