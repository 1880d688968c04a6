// Frame times of the 3D view's software picture: the full picture (what a screenshot and a still
// view show) and the quick one drawn while the model turns, at 800x800 and 1600x1000 pixels.
// See bench/README.md.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/run.h"
#include "models.h"
#include "view/quick_view.h"
#include "view/scene_loader.h"
#include "view/scene_view.h"

namespace ostrel::bench {
namespace {

// OFF text of a geodesic sphere of radius 5: every face of an icosahedron cut into
// frequency² triangles, their corners pushed out onto the sphere. 20·f² faces.
std::string geodesic_off(int frequency) {
  const double t = (1 + std::sqrt(5.0)) / 2;
  const std::array<std::array<double, 3>, 12> ico{{{-1, t, 0},
                                                   {1, t, 0},
                                                   {-1, -t, 0},
                                                   {1, -t, 0},
                                                   {0, -1, t},
                                                   {0, 1, t},
                                                   {0, -1, -t},
                                                   {0, 1, -t},
                                                   {t, 0, -1},
                                                   {t, 0, 1},
                                                   {-t, 0, -1},
                                                   {-t, 0, 1}}};
  const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                            {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                            {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                            {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
  const int n = frequency;
  std::map<std::array<long long, 3>, int> numbers;  // points by their rounded position
  std::string points, triangles;
  const auto point = [&](const int* face, int i, int j) {
    std::array<double, 3> p{};
    for (int a = 0; a < 3; ++a) {
      p[a] = (ico[face[0]][a] * (n - i - j) + ico[face[1]][a] * i + ico[face[2]][a] * j) / n;
    }
    const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    std::array<long long, 3> key{};
    for (int a = 0; a < 3; ++a) {
      p[a] *= 5 / length;
      key[a] = std::llround(p[a] * 1e6);
    }
    auto [entry, inserted] = numbers.try_emplace(key, static_cast<int>(numbers.size()));
    if (inserted) {
      points +=
          std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]) + "\n";
    }
    return std::to_string(entry->second);
  };
  int count = 0;
  const auto triangle = [&](const std::string& a, const std::string& b, const std::string& c) {
    triangles += "3 " + a + " " + b + " " + c + "\n";
    ++count;
  };
  for (const auto& face : faces) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; i + j < n; ++j) {
        triangle(point(face, i, j), point(face, i + 1, j), point(face, i, j + 1));
        if (i + j + 1 < n) {
          triangle(point(face, i + 1, j), point(face, i + 1, j + 1), point(face, i, j + 1));
        }
      }
    }
  }
  return "OFF\n" + std::to_string(numbers.size()) + " " + std::to_string(count) + " 0\n" + points +
         triangles;
}

// The scene of a relaxed example (its run with the default settings, seed 1, writing only the
// OFF file) or of the geodesic sphere of 2,000 faces.
std::shared_ptr<const ModelScene> scene_of(const std::string& name) {
  static std::map<std::string, std::shared_ptr<const ModelScene>> made;
  if (auto found = made.find(name); found != made.end()) return found->second;
  TempFolder folder;
  std::filesystem::path off = folder.path() / "sphere.off";
  if (name == "geodesic_2000") {
    std::ofstream(off, std::ios::binary) << geodesic_off(10);
  } else {
    RunRequest request;
    request.input = example_path(name);
    request.output_folder = folder.path();
    request.seed = 1;
    request.limits.new_isomorphs = 1;
    request.settings.SolidVRML = request.settings.FrameVRML = request.settings.SwitchVRML = false;
    request.settings.AnimVRML = request.settings.CylVRML = false;
    QuietHost host;
    const RunReport report = run(request, host);
    if (report.files.empty()) throw std::runtime_error(name + ": " + host.last_message);
    off = report.files.front();
  }
  SceneLoad load = load_off_scene(off, RunSettings{});
  if (!load.ok()) throw std::runtime_error(name + ": " + load.error);
  auto scene = std::make_shared<const ModelScene>(std::move(load.scene));
  made[name] = scene;
  return scene;
}

// One picture per iteration, the view turned a little each time as a drag turns it.
void BM_ViewFrame(benchmark::State& state, const std::string& model, bool quick) {
  const auto scene = scene_of(model);
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  ViewAngles angles;
  for (auto _ : state) {
    const ViewPicture picture =
        quick ? render_quick_view(*scene, angles, ViewStyle::kSolid, width, height)
              : render_view(*scene, angles, ViewStyle::kSolid, width, height);
    benchmark::DoNotOptimize(picture.pixels.data());
    angles.yaw += 1.0;
  }
  state.counters["faces"] = scene->face_count;
  state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Args({800, 800})->Args({1600, 1000})->Unit(benchmark::kMillisecond);
  b->MeasureProcessCPUTime()->UseRealTime();
}
BENCHMARK_CAPTURE(BM_ViewFrame, snub_cube_full, "snub_cube", false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_ViewFrame, snub_cube_quick, "snub_cube", true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_ViewFrame, great_stellated_dodecahedron_full, "great_stellated_dodecahedron",
                  false)
    ->Apply(sizes);
BENCHMARK_CAPTURE(BM_ViewFrame, great_stellated_dodecahedron_quick, "great_stellated_dodecahedron",
                  true)
    ->Apply(sizes);
BENCHMARK_CAPTURE(BM_ViewFrame, geodesic_2000_full, "geodesic_2000", false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_ViewFrame, geodesic_2000_quick, "geodesic_2000", true)->Apply(sizes);

}  // namespace
}  // namespace ostrel::bench
