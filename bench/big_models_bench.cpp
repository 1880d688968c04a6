// Timings of large models: whole runs of generated chains of tetrahedra and towers of antiprism
// rings (of ten vertices, and the thin towers of four and six) with the default settings, and the
// throughput of the pair sums of stress majorization on one thread and on every core. See
// bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <thread>

#include "core/parallel.h"
#include "engine/run.h"
#include "engine/start/stress_start.h"
#include "models.h"
#include "prepare/fixed_distances.h"
#include "prepare/graph_distances.h"

namespace ostrel::bench {
namespace {

constexpr std::uint64_t kSeed = 1;

// A whole run with the default settings but the OFF file alone (the VRML files of a large model
// would time the disk), seed 1, until the first new isomorph or the tenth attempt. "settled" is
// 1 when a model was written; "attempts" and "iterations" count every attempt tried.
// `ring` 0 is a chain, else the vertices of a tower's rings.
void BM_BigModel(benchmark::State& state, int ring) {
  const int vertices = static_cast<int>(state.range(0));
  const bool chain = ring == 0;
  TempFolder folder;
  const std::filesystem::path input = folder.path() / "model.txt";
  {
    std::ofstream out(input, std::ios::binary);
    out << (chain ? chain_text(vertices) : tower_text(vertices, ring));
  }
  RunRequest request;
  request.input = input;
  request.output_folder = folder.path();
  request.seed = kSeed;
  request.jobs = static_cast<int>(state.range(1));
  request.limits.new_isomorphs = 1;
  request.limits.attempts = 10;
  request.settings.SolidVRML = request.settings.FrameVRML = request.settings.SwitchVRML = false;
  request.settings.AnimVRML = request.settings.CylVRML = false;
  QuietHost host;
  double settled = 0.0;
  double attempts = 0.0;
  double iterations = 0.0;
  for (auto _ : state) {
    RunReport report = run(request, host);
    settled += report.files.empty() ? 0.0 : 1.0;
    attempts += static_cast<double>(report.isomorphs.size());
    for (const IsomorphReport& isomorph : report.isomorphs) iterations += isomorph.iterations;
  }
  state.counters["settled"] = benchmark::Counter(settled, benchmark::Counter::kAvgIterations);
  state.counters["attempts"] = benchmark::Counter(attempts, benchmark::Counter::kAvgIterations);
  state.counters["iterations"] = benchmark::Counter(iterations, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_BigModel, chain, 0)
    ->ArgsProduct({{100, 300, 1000, 1500}, {1}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_BigModel, tower, 10)
    ->ArgsProduct({{100, 300, 1000, 1500}, {1}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_BigModel, square_tower, 4)
    ->ArgsProduct({{600}, {1}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_BigModel, hexagonal_tower, 6)
    ->ArgsProduct({{600}, {1}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_BigModel, tower_all_cores, 10)
    ->ArgsProduct({{1500}, {0}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_BigModel, chain_all_cores, 0)
    ->ArgsProduct({{1000}, {0}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// Twenty steps of stress majorization on a tower of 1,500 vertices: every step sums over every
// vertex pair. "pairs_per_second" counts each pair once per step; the second argument is the
// number of threads (0: one per core).
void BM_PairSums(benchmark::State& state) {
  BenchModel prepared = prepare_bench_model(tower_text(1500), kSeed);
  Model& model = *prepared.model;
  const GraphDistances distances = graph_distances(model, *prepared.links, model.LastVertex);
  const std::vector<FixedDistance> fixed =
      fixed_distances(model, distances.first, model.LastVertex);
  StressStartOptions options;
  options.threads = thread_count(static_cast<int>(state.range(0)));
  options.max_steps = 20;
  std::int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    restart(prepared, kSeed);
    state.ResumeTiming();
    steps += stress_majorization_start(model, distances, fixed, options).steps;
  }
  const double n = distances.count;
  state.counters["threads"] = options.threads;
  state.counters["pairs_per_second"] = benchmark::Counter(
      static_cast<double>(steps) * n * (n - 1.0) / 2.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PairSums)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel::bench
