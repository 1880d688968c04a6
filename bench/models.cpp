#include "models.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "core/random.h"
#include "prepare/inflation.h"
#include "prepare/load_model.h"

namespace ostrel::bench {
namespace {

// The icosahedron's 20 faces over its 12 corners 0..11, each listed anticlockwise seen from
// outside, so that every edge is walked once in each direction.
constexpr std::array<std::array<int, 3>, 20> kIcosahedronFaces{{
    {0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
    {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
    {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1},
}};

// A point of the subdivided icosahedron named by the corners it lies between and their
// weights (weights sum to the frequency; corners with weight 0 are left out, so a point on a
// shared edge or corner has the same name from every face). Pairs sorted by corner, unused
// pairs (-1, 0).
using PointName = std::array<std::pair<int, int>, 3>;

PointName point_name(const std::array<int, 3>& corners, const std::array<int, 3>& weights) {
  PointName name{};
  name.fill({-1, 0});
  std::size_t used = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    if (weights[k] > 0) name[used++] = {corners[k], weights[k]};
  }
  std::sort(name.begin(), name.begin() + static_cast<long>(used));
  return name;
}

}  // namespace

std::filesystem::path example_path(const std::string& name) {
  return std::filesystem::path(OSTREL_BENCH_EXAMPLES_DIR) / (name + ".txt");
}

std::string example_text(const std::string& name) {
  std::ifstream in(example_path(name), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + example_path(name).string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string data_text(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(OSTREL_BENCH_DATA_DIR) / (name + ".txt");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string geodesic_sphere_text(int frequency) {
  const int n = frequency;
  std::map<PointName, int> numbers;
  auto number = [&](const std::array<int, 3>& corners, int i, int j) {
    // Point A + i/n·(B − A) + j/n·(C − A) of the face with corners A, B, C.
    auto [entry, inserted] = numbers.try_emplace(point_name(corners, {n - i - j, i, j}), 0);
    if (inserted) entry->second = static_cast<int>(numbers.size());
    return entry->second;
  };
  std::string text = "' Geodesic sphere, frequency " + std::to_string(n) + "\n{\n";
  auto triangle = [&](int a, int b, int c) {
    text += std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + ",-1,\n";
  };
  for (const auto& corners : kIcosahedronFaces) {
    for (int i = 0; i < n; ++i) {
      for (int j = 0; i + j < n; ++j) {
        // The triangle pointing like the face, then (where there is room) the one between it
        // and its neighbours, both walked in the face's own direction.
        triangle(number(corners, i, j), number(corners, i + 1, j), number(corners, i, j + 1));
        if (i + j + 1 < n) {
          triangle(number(corners, i + 1, j), number(corners, i + 1, j + 1),
                   number(corners, i, j + 1));
        }
      }
    }
  }
  return text + "}\n";
}

BenchModel prepare_bench_model(std::string_view text, std::uint64_t seed,
                               const RunSettings& settings) {
  BenchModel prepared;
  prepared.settings = settings;
  prepared.model = std::make_unique<Model>();
  Model& model = *prepared.model;
  model.start_run();
  model.start_pass();
  for (int k = 1; k <= 6; ++k) model.ForceStrength(k) = settings.force_strength(k);
  QuietHost host;
  LoadRequest request;
  request.text = text;
  request.settings = &settings;
  LoadResult loaded = load_model(model, request, host);
  if (!loaded.parsed.ok()) throw std::runtime_error("parse failed: " + loaded.parsed.message);
  if (!loaded.ok()) throw std::runtime_error(loaded.error);
  prepared.links = std::move(loaded.preparation.links);
  restart(prepared, seed);
  return prepared;
}

void restart(BenchModel& prepared, std::uint64_t seed) {
  Random random(seed);
  place_starting_positions(*prepared.model, prepared.settings, random);
}

std::string chain_text(int vertices) {
  std::string text = "{";
  auto face = [&](int a, int b, int c) {
    text += std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + ",-1,\n";
  };
  face(1, 2, 3);
  for (int i = 1; i <= vertices - 3; ++i) {
    face(i, i + 1, i + 3);
    face(i, i + 2, i + 3);
  }
  face(vertices - 2, vertices - 1, vertices);
  return text + "}";
}

std::string tower_text(int vertices, int ring) {
  const int rings = vertices / ring;
  const auto v = [ring](int r, int k) { return std::to_string(r * ring + k % ring + 1); };
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

}  // namespace ostrel::bench
