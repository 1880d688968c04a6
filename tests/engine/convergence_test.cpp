#include "engine/convergence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel {
namespace {

// Feeds Deform values one iteration after the other, as the run does, and returns the first
// iteration at which the isomorph is finished (0 when none is).
std::int64_t finished_at(Convergence& rules, const std::vector<double>& deforms) {
  double last = 999.0;
  for (std::size_t k = 0; k < deforms.size(); ++k) {
    const std::int64_t iteration = static_cast<std::int64_t>(k) + 1;
    rules.record(iteration, last);
    StepState state;
    state.iteration = iteration;
    state.deform = deforms[k];
    state.change = std::fabs(deforms[k] - last);
    last = deforms[k];
    if (rules.after_step(state).finished) return iteration;
  }
  return 0;
}

// Run mode 2 ends a model that no longer improves, not one passing slowly through a flat stretch:
// a Deform that changes by less than the threshold per iteration but by more over ten goes on.
TEST(Convergence, NoProgressIsJudgedOverTenIterations) {
  std::vector<double> slow, flat;
  for (int k = 0; k < 40; ++k) {
    slow.push_back(5.0 - 0.0009 * k);  // 0.0009 a step, 0.009 over ten
    flat.push_back(5.0);
  }
  Convergence slow_rules(2, 10000000);
  slow_rules.start();
  EXPECT_EQ(finished_at(slow_rules, slow), 0);
  Convergence flat_rules(2, 10000000);
  flat_rules.start();
  EXPECT_EQ(finished_at(flat_rules, flat), 11);  // once the value of ten iterations ago is known
  Convergence limited(1, 7);
  limited.start();
  EXPECT_EQ(finished_at(limited, slow), 7);  // the iteration limit ends any run mode
}

// A Deform that crawls towards a floor above the settled mark is given up at 131072 iterations
// (it ran to the limit of ten million before); one that crawls down to the mark goes on, and so
// does one that rose for a while (its least value of each window still falls).
TEST(Convergence, ACrawlThatCannotSettleIsGivenUp) {
  std::vector<double> stuck, slow, bumpy;
  for (int t = 1; t <= 140000; ++t) {
    stuck.push_back(0.005 + 1.0 / t);
    slow.push_back(20.0 / t);
    bumpy.push_back((t > 120000 && t <= 131072 ? 2.0 : 1.0) * 200.0 / t);
  }
  const auto judged = [](const std::vector<double>& deforms) {
    Convergence rules(2, 10000000);
    rules.start();
    return finished_at(rules, deforms);
  };
  EXPECT_EQ(judged(stuck), 131072);
  EXPECT_EQ(judged(slow), 0);
  EXPECT_EQ(judged(bumpy), 0);
}

// Local expansion stops once its change is below 1e-6; a model that stopped moving is written
// 100 iterations later unless it still improves.
TEST(Convergence, ExpansionEndAndStall) {
  Convergence rules(2, 10000000);
  rules.start();
  StepState state;
  state.iteration = 5;
  state.expansion_running = true;
  state.mode = kExpandLocalOne;
  state.change = 0.01;
  EXPECT_FALSE(rules.after_step(state).stop_expansion);
  state.change = 1e-7;
  EXPECT_TRUE(rules.after_step(state).stop_expansion);

  EXPECT_FALSE(rules.stall_test(10, 1.0, 1.0, 0.0).due);
  EXPECT_FALSE(rules.stall_test(110, 1.0, 1.0, 0.0).due);
  const StallVerdict improving = rules.stall_test(111, 0.5, 1.0, 0.0);
  EXPECT_TRUE(improving.due);
  EXPECT_TRUE(improving.improving);
  EXPECT_FALSE(rules.stall_test(150, 0.5, 1.0, 0.0).due);  // the test started again at 111
  const StallVerdict settled = rules.stall_test(212, 0.5, 1.0, 0.0);
  EXPECT_TRUE(settled.due);
  EXPECT_FALSE(settled.improving);
}

}  // namespace
}  // namespace ostrel
