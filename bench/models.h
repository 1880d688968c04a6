// Models for the benchmarks: the bundled examples read at run time, a geodesic sphere built as
// input text, and a model prepared by hand the way a run prepares it before its first isomorph.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/model.h"
#include "engine/run_host.h"
#include "prepare/edge_table.h"
#include "settings/run_settings.h"

namespace ostrel::bench {

// Path of a bundled example input ("snub_cube" gives examples/snub_cube.txt).
std::filesystem::path example_path(const std::string& name);

// The text of a bundled example input.
std::string example_text(const std::string& name);

// The text of an input kept with the benchmarks ("snub_dodecahedron" gives
// bench/data/snub_dodecahedron.txt, written by bench/make_solids.py).
std::string data_text(const std::string& name);

// Input text of a geodesic sphere: every triangle of an icosahedron cut into frequency²
// triangles, all of them listed as "a,b,c,-1," with the same orientation. Frequency f gives
// 10·f² + 2 vertices (numbered from 1), 30·f² edges and 20·f² faces.
std::string geodesic_sphere_text(int frequency);

// A model loaded and prepared as a run loads it (load_model), with the force strengths taken
// from the settings and random starting positions drawn from `seed`.
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

// Input text of a chain of regular tetrahedra glued face to face on `vertices` vertices (vertex
// i joined to i + 1, i + 2 and i + 3), and of a tower of antiprism layers on rings of `ring`
// vertices (decagonal by default) with a face of `ring` corners at each end (`vertices` a
// multiple of `ring`).
std::string chain_text(int vertices);
std::string tower_text(int vertices, int ring = 10);

// A run host with nobody at it: messages and progress are dropped, the star-collapse question
// is answered No and an error prompt OK. The last message is kept to explain a failed run.
class QuietHost final : public RunHost {
 public:
  void message(const std::string& text) override { last_message = text; }
  bool ask_yes_no(const std::string&) override { return false; }
  bool ask_resume(const std::string&) override { return true; }
  std::string last_message;
};

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ostrel::bench
