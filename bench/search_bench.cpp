// Timings of the search for isomorphs with one job and with the default (one per core): the
// attempt pool must never cost time, so the default must be no slower than one job.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run.h"
#include "models.h"

namespace ostrel::bench {
namespace {

// The Johnson solids among the examples.
const std::vector<std::string> kJohnsonSuite{"square_pyramid", "pentagonal_pyramid",
                                             "triangular_cupola", "pentagonal_bipyramid"};

RunReport search(const std::string& name, int jobs, int attempts, QuietHost& host,
                 const TempFolder& folder) {
  RunRequest request;
  request.input = example_path(name);
  request.output_folder = folder.path();
  request.seed = 1;
  request.limits.new_isomorphs = 4;
  request.limits.attempts = attempts;
  request.jobs = jobs;
  return run(request, host);
}

// Every Johnson solid of the examples, one run each, searching for four isomorphs in at most
// 40 attempts (each has one shape: the attempts after the first are duplicates).
// Argument: the jobs (0: one per core). "attempts" counts the attempts of all runs.
void BM_JohnsonSuite(benchmark::State& state) {
  TempFolder folder;
  QuietHost host;
  std::int64_t attempts = 0;
  for (auto _ : state) {
    for (const std::string& name : kJohnsonSuite) {
      attempts += static_cast<std::int64_t>(
          search(name, static_cast<int>(state.range(0)), 40, host, folder).isomorphs.size());
    }
  }
  state.counters["attempts"] =
      benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_JohnsonSuite)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// 300 attempts at the cube: each ends within a few milliseconds, so any wait in taking an
// attempt from the pool shows at once. Argument: the jobs (0: one per core).
void BM_CubeAttempts(benchmark::State& state) {
  TempFolder folder;
  QuietHost host;
  for (auto _ : state) search("cube", static_cast<int>(state.range(0)), 300, host, folder);
}
BENCHMARK(BM_CubeAttempts)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace ostrel::bench

BENCHMARK_MAIN();
