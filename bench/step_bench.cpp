// The relaxation step against the plain reference loop (bench/plain_loop.h) on the same models
// in the same run, and the time a process of ostrel-cli takes from exec to its first iteration.
// See bench/README.md.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/relax.h"
#include "models.h"
#include "plain_loop.h"

extern char** environ;

namespace ostrel::bench {
namespace {

constexpr std::uint64_t kSeed = 12345;
constexpr int kBatch = 8;  // steps timed together, so the clock's cost stays out of the figure

// Processor time of this thread in nanoseconds: other work on the machine does not count.
double thread_ns() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

std::string step_model_text(const std::string& name) {
  if (name == "geodesic_sphere") return geodesic_sphere_text(12);  // 1442 vertices
  if (name == "snub_dodecahedron") return data_text(name);
  return example_text(name);
}

// Batches of the engine's step and of the plain loop, taking turns, from the same start; both
// keep relaxing as the benchmark repeats. The reported time is that of both; the counters give
// each one's processor time per edge and their ratio. Fails when the two part ways: on these models (no
// rhombus or hexagon sets, no free faces) they must give the same bits.
void BM_StepAgainstPlainLoop(benchmark::State& state, const std::string& name) {
  BenchModel prepared = prepare_bench_model(step_model_text(name), kSeed);
  Model& model = *prepared.model;
  Relaxation relaxation(model, prepared.settings);
  PlainLoop plain(model, prepared.settings);
  double step_ns = 0.0;
  double plain_ns = 0.0;
  std::int64_t iteration = 0;
  for (auto _ : state) {
    double deform = 0.0;
    double deforp = 0.0;
    const double start = thread_ns();
    for (int k = 0; k < kBatch; ++k) relaxation.step(++iteration, false, deform, deforp);
    const double middle = thread_ns();
    double deviation = 0.0;
    for (int k = 0; k < kBatch; ++k) deviation += plain.step();
    const double end = thread_ns();
    benchmark::DoNotOptimize(deform);
    benchmark::DoNotOptimize(deviation);
    step_ns += middle - start;
    plain_ns += end - middle;
  }
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    const auto i = static_cast<std::size_t>(v);
    if (model.VertexX(v) != plain.x[i] || model.VertexY(v) != plain.y[i] ||
        model.VertexZ(v) != plain.z[i]) {
      state.SkipWithError("the step and the plain loop moved a vertex differently");
      return;
    }
  }
  const double edges = static_cast<double>(state.iterations()) * kBatch * model.EdgeCount;
  state.counters["vertices"] = model.vertex_count();
  state.counters["edges"] = model.EdgeCount;
  state.counters["step_ns_per_edge"] = step_ns / edges;
  state.counters["plain_ns_per_edge"] = plain_ns / edges;
  state.counters["ratio"] = step_ns / plain_ns;
}
BENCHMARK_CAPTURE(BM_StepAgainstPlainLoop, geodesic_sphere, std::string("geodesic_sphere"));
BENCHMARK_CAPTURE(BM_StepAgainstPlainLoop, snub_dodecahedron, std::string("snub_dodecahedron"));
BENCHMARK_CAPTURE(BM_StepAgainstPlainLoop, tower_500, std::string("antiprism_tower_500"));

// One process of ostrel-cli from exec to exit, in real time and, as "processor_ms", in the
// processor time of the process (user and system), which other work on the machine disturbs
// less: "version" prints its version (loading, static set-up and the command line alone); "first_iteration" runs the tetrahedron for a single
// iteration of a single attempt without inflation, writing nothing but the OFF file: the
// start-up a run pays before its first iteration, plus the exit.
void BM_StartUp(benchmark::State& state, const std::vector<std::string>& arguments) {
  TempFolder folder;
  std::vector<std::string> words{OSTREL_BENCH_CLI};
  for (const std::string& word : arguments) {
    words.push_back(word == "{input}"    ? example_path("tetrahedron").string()
                    : word == "{folder}" ? folder.path().string()
                                         : word);
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  double processor_ms = 0.0;
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start ostrel-cli");
      break;
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    processor_ms += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  }
  posix_spawn_file_actions_destroy(&actions);
  state.counters["processor_ms"] =
      benchmark::Counter(processor_ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_StartUp, version, std::vector<std::string>{"--version"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_StartUp, first_iteration,
                  std::vector<std::string>{
                      "run", "{input}", "-o", "{folder}", "-q", "--seed", "1", "--attempts", "1",
                      "--inflate", "none", "--set", "MaxIter=0", "--set", "SolidVRML=0", "--set",
                      "FrameVRML=0", "--set", "SwitchVRML=0", "--set", "AnimVRML=0", "--set",
                      "CylVRML=0"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace ostrel::bench
