// Reading a model for viewing: an OFF file on its own (Ostrel's own or another tool's), or the
// OFF file a run wrote together with the input the run read, so that the view shows what the
// run's VRML files show.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "input/shapes.h"
#include "settings/run_settings.h"
#include "view/model_scene.h"

namespace ostrel {

struct SceneLoad {
  std::string error;  // why the file cannot be shown; empty when `scene` holds the model
  ModelScene scene;
  bool ok() const { return error.empty(); }
};

// The model of an OFF file, its coordinates as they stand; faces keep the colours the file gives
// them, faces without one take the colour of their class in the VRML colour table of `settings`.
// A file that cannot be read, is no OFF file or is refused by the OFF reader gives its message:
//   "Input error: line 7 of the OFF file: vertex index 12 is out of range 0..7".
SceneLoad load_off_scene(const std::filesystem::path& path, const RunSettings& settings);

// What a run read: its input file or simple shape, its settings and the answer it was given to
// the star-collapse question (nullopt when it did not ask).
struct RunInput {
  std::filesystem::path input;
  std::optional<SpecialShape> shape;
  RunSettings settings;
  std::optional<bool> collapse_answer;
};

// The model written to `off_file` by the run of `run`: the run's input read and prepared again
// as the run prepared it (faces, flags, edge marks, highlighted vertices, colour classes), its
// vertices placed where the OFF file puts them. When the input no longer gives the model of the
// OFF file (it was changed since, or the run had segments), the OFF file is shown on its own.
SceneLoad load_run_scene(const std::filesystem::path& off_file, const RunInput& run);

}  // namespace ostrel
