#include "engine/attempt.h"

#include <gtest/gtest.h>

#include <memory>

#include "prepare/load_model.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

class GoOn final : public AttemptObserver {
 public:
  AttemptEnd poll(Attempt&) override { return AttemptEnd::kFinished; }
};

// The run hands each attempt a copy of the model the attempt before it left, relaxed and
// measured: nothing of that relaxation may reach the next attempt, which must end exactly where
// the same attempt ends on a model fresh from the preparation.
TEST(Attempt, EndsAsIfNoAttemptHadRunBeforeIt) {
  const RunSettings settings;
  Model fresh;
  fresh.start_pass();
  for (int k = 1; k <= 6; ++k) fresh.ForceStrength(k) = settings.force_strength(k);
  const std::string text = read_input_file(test::example_path("pentagonal_prism.txt"));
  LoadRequest request;
  request.text = text;
  request.settings = &settings;
  test::RecordingHost dialog;  // answers No
  LoadResult loaded = load_model(fresh, request, dialog);
  ASSERT_TRUE(loaded.ok());
  PassData pass;
  pass.settings = &settings;
  pass.links = loaded.preparation.links.get();
  pass.hop = loaded.preparation.hop.get();
  pass.kept_mode = settings.expansion_mode();
  GoOn observer;
  const auto attempt = [&](int number, const Model& model) {
    auto run = std::make_unique<Attempt>(pass, AttemptPlan{number, 5, 0, false},
                                         std::make_unique<Model>(model));
    run->start();
    run->relax(observer);
    return run;
  };

  const auto first = attempt(1, fresh);
  const auto after = attempt(2, first->model());
  const auto alone = attempt(2, fresh);
  ASSERT_TRUE(first->found() && alone->found());  // both settled
  EXPECT_EQ(after->iteration(), alone->iteration());
  EXPECT_EQ(after->deform(), alone->deform());
  for (int v = fresh.FirstVertex; v <= fresh.LastVertex; ++v) {
    ASSERT_EQ(after->model().VertexX(v), alone->model().VertexX(v)) << v;
    ASSERT_EQ(after->model().VertexZ(v), alone->model().VertexZ(v)) << v;
  }
  EXPECT_EQ(after->relaxation().motion().FaceDeviation, alone->relaxation().motion().FaceDeviation);
  EXPECT_EQ(after->relaxation().motion().EdgeDeviation, alone->relaxation().motion().EdgeDeviation);
}

}  // namespace
}  // namespace ostrel
