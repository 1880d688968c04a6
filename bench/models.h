// Models for the benchmarks: the bundled examples read at run time, a geodesic sphere built as
// input text, and a model prepared by hand the way a run prepares it before its first isomorph.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/model.h"
#include "core/settings.h"
#include "prepare/edge_table.h"

namespace ostrel::bench {

// Path of a bundled example input ("snub_cube" gives examples/snub_cube.txt).
std::filesystem::path example_path(const std::string& name);

// The text of a bundled example input.
std::string example_text(const std::string& name);

// Input text of a geodesic sphere: every triangle of an icosahedron cut into frequency²
// triangles, all of them listed as "a,b,c,-1," with the same orientation. Frequency f gives
// 10·f² + 2 vertices (numbered from 1), 30·f² edges and 20·f² faces.
std::string geodesic_sphere_text(int frequency);

// A parsed and prepared model: star corners ordered, edge table merged, neighbour lists built,
// force strengths taken from the settings, the last vertex cut back to the last linked one, and
// random starting positions drawn from `seed`.
struct BenchModel {
  RunSettings settings;
  std::unique_ptr<Model> model;
  std::unique_ptr<VertexLinkTable> links;
};

// Throws std::runtime_error with the parser's or the preparation's message when `text` is
// not a usable model.
BenchModel prepare_bench_model(std::string_view text, std::uint64_t seed,
                               const RunSettings& settings = {});

// Draws new random starting positions (and zero velocities) for every vertex of `prepared`.
void restart(BenchModel& prepared, std::uint64_t seed);

}  // namespace ostrel::bench
