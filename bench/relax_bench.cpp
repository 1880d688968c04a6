// Timings of the relaxation's hot paths and of whole runs. See bench/README.md for what each
// benchmark measures and how to run them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/lenient_number.h"
#include "engine/relax.h"
#include "engine/run.h"
#include "input/parser.h"
#include "models.h"
#include "prepare/inflation.h"

namespace ostrel::bench {
namespace {

constexpr std::uint64_t kSeed = 12345;
constexpr int kSphereFrequency = 12;  // 1442 vertices, 4320 edges, 2880 faces
constexpr const char* kSphere = "geodesic_sphere";

std::string model_text(const std::string& name) {
  return name == kSphere ? geodesic_sphere_text(kSphereFrequency) : example_text(name);
}

void count_model(benchmark::State& state, const Model& model) {
  state.counters["vertices"] = model.vertex_count();
  state.counters["edges"] = model.EdgeCount;
  state.counters["faces"] = model.FaceCount;
}

// One iteration of the relaxation (edge term, shape statistics, face term, update) on a model
// that keeps relaxing from random starting positions as the benchmark repeats it.
void BM_RelaxStep(benchmark::State& state, const std::string& name) {
  BenchModel prepared = prepare_bench_model(model_text(name), kSeed);
  const Model& model = *prepared.model;
  Relaxation relaxation(*prepared.model, prepared.settings);
  std::int64_t iteration = 0;
  for (auto _ : state) {
    double deform = 0.0;
    double deforp = 0.0;
    relaxation.step(++iteration, false, deform, deforp);
    benchmark::DoNotOptimize(deform);
    benchmark::DoNotOptimize(deforp);
  }
  count_model(state, model);
  const double edges_done = static_cast<double>(state.iterations()) * model.EdgeCount;
  state.SetItemsProcessed(static_cast<std::int64_t>(edges_done));
  state.counters["time_per_edge"] =
      benchmark::Counter(edges_done, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_RelaxStep, snub_cube, std::string("snub_cube"));
BENCHMARK_CAPTURE(BM_RelaxStep, truncated_octahedron, std::string("truncated_octahedron"));
BENCHMARK_CAPTURE(BM_RelaxStep, geodesic_sphere, std::string(kSphere));

// The global expansion pre-stage from the same random start every time, run until it settles
// (or for its 1000 passes). Each pass visits every vertex pair; "passes" is the passes of one
// pre-stage and "time_per_pass" the time of one of them.
void BM_GlobalPrestage(benchmark::State& state, const std::string& name) {
  BenchModel prepared = prepare_bench_model(model_text(name), kSeed);
  const Model& model = *prepared.model;
  HopDistanceTable hop = make_hop_distance_table();
  compute_hop_distances(model, *prepared.links, 1.0, hop, nullptr);
  const double limit = lenient_value(prepared.settings.GlobLim);
  Relaxation relaxation(*prepared.model, prepared.settings);
  std::int64_t passes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    restart(prepared, kSeed);
    state.ResumeTiming();
    passes += relaxation.global_prestage(hop, limit);
  }
  count_model(state, model);
  const double vertices = model.vertex_count();
  state.counters["pairs"] = vertices * (vertices - 1.0) / 2.0;
  state.counters["passes"] =
      benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kAvgIterations);
  state.counters["time_per_pass"] = benchmark::Counter(
      static_cast<double>(passes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_GlobalPrestage, snub_cube, std::string("snub_cube"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GlobalPrestage, truncated_octahedron, std::string("truncated_octahedron"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GlobalPrestage, geodesic_sphere, std::string(kSphere))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The hop distances of global expansion for every vertex pair of the geodesic sphere.
void BM_HopDistances(benchmark::State& state) {
  BenchModel prepared = prepare_bench_model(geodesic_sphere_text(kSphereFrequency), kSeed);
  const Model& model = *prepared.model;
  HopDistanceTable hop = make_hop_distance_table();
  for (auto _ : state) {
    compute_hop_distances(model, *prepared.links, 1.0, hop, nullptr);
    benchmark::ClobberMemory();
  }
  count_model(state, model);
}
BENCHMARK(BM_HopDistances)->Unit(benchmark::kMillisecond);

// A new model store and one parse of the cube: what a run pays before its preparation starts.
void BM_ReadIntoNewModel(benchmark::State& state) {
  const std::string text = example_text("cube");
  NullMessageSink messages;
  for (auto _ : state) {
    auto model = std::make_unique<Model>();
    model->start_pass();
    ParseResult parsed = parse_input(*model, text, ParseRequest{}, messages);
    benchmark::DoNotOptimize(parsed);
  }
}
BENCHMARK(BM_ReadIntoNewModel)->Unit(benchmark::kMicrosecond);

// A whole run of an example with the default settings (global expansion, all output styles)
// and a fixed seed, ending once the first new isomorph is written: reading, preparation, the
// pre-stage, relaxation to the end and the output file set. "iterations" counts the relaxation
// iterations of every isomorph tried, "isomorphs" the isomorphs tried.
void BM_WholeRun(benchmark::State& state, const std::string& name) {
  TempFolder folder;
  if (folder.path().empty()) {
    state.SkipWithError("cannot make a temporary folder");
    return;
  }
  RunRequest request;
  request.input = example_path(name);
  request.output_folder = folder.path();
  request.seed = kSeed;
  request.limits.new_isomorphs = 1;
  request.limits.attempts = 20;  // a guard: every example settles in its first few
  QuietHost host;
  std::int64_t iterations = 0;
  std::int64_t isomorphs = 0;
  for (auto _ : state) {
    RunReport report = run(request, host);
    if (report.end != RunEnd::kFinished) {
      state.SkipWithError(("run did not finish: " + host.last_message).c_str());
      break;
    }
    for (const IsomorphReport& isomorph : report.isomorphs) iterations += isomorph.iterations;
    isomorphs += static_cast<std::int64_t>(report.isomorphs.size());
  }
  state.counters["iterations"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kAvgIterations);
  state.counters["isomorphs"] =
      benchmark::Counter(static_cast<double>(isomorphs), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_WholeRun, square_pyramid, std::string("square_pyramid"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, pentagonal_pyramid, std::string("pentagonal_pyramid"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, triangular_cupola, std::string("triangular_cupola"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholeRun, pentagonal_bipyramid, std::string("pentagonal_bipyramid"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel::bench

BENCHMARK_MAIN();
