// Small models and run inputs the output tests write their files from, and the tools that read
// the written text back.
#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/model.h"
#include "core/run_error.h"
#include "engine/run_host.h"
#include "output/file_set.h"
#include "output/vrml_header.h"
#include "settings/run_settings.h"
#include "support/test_support.h"

namespace ostrel::test {

inline constexpr double kPi = 3.14159265358979323846;

// --- Models ---------------------------------------------------------------------------------

// Puts vertex v at (x, y, z) with `flags` and widens FirstVertex..LastVertex to hold it.
void add_vertex(Model& model, int v, double x, double y, double z, const std::string& flags = "");

// Adds face FaceCount + 1 with these corners (vertex numbers, corner 1 first); returns it.
int add_face(Model& model, const std::vector<int>& corners, int step = 1,
             const std::string& flags = "");

// Adds edge EdgeCount + 1, of target length 1, from vertex a to b between faces `first_face`
// and `second_face` (0: no face on that side); returns it.
int add_edge(Model& model, int a, int b, int first_face, int second_face, int mark = kNoMark);

// The corners (0.5, 0.5), (-0.5, 0.5), (-0.5, -0.5), (0.5, -0.5) of a unit square in the plane
// at height z, as vertices first..first+3.
void add_square_vertices(Model& model, int first, double z);

// The corners of a regular polygon of circumradius `radius` about the origin in the plane
// z = 0, vertices first..first+n-1 around the outline.
void add_polygon_vertices(Model& model, int first, int n, double radius);

// The model of the solid, frame, switch, animated and cylinder goldens: a square pyramid of
// unit edges with a highlighted vertex 3, a transparent side 3, a framed side 4, a red side 5,
// a hidden face 6 (its edges 3 and 7 and its side 4 deviate: pyramid_context).
Model pyramid();

// A unit cube about the origin with its six faces and twelve edges (vertex v - 1: bit 0 x,
// bit 1 y, bit 2 z). Face 1 is the bottom, z = -0.5; edge 1 runs from vertex 1 to 2 between
// faces 1 and 3.
Model cube();

// --- Run inputs -----------------------------------------------------------------------------

// A context named `name`, of version "1.2.3", generated on "01-01-1970".
OutputContext output_context(const std::string& name);

// The context of the pyramid goldens: named "pyramid", edge deformation 0.003, polygonal
// deformation 0.0025, viewing distance 2.5; edges 3 and 7 off by -0.0015 and 0.0015, side 4 by
// 0.0025.
OutputContext pyramid_context();

// Default settings with only `styles` of the VRML styles switched on (the OFF file as by
// default).
RunSettings settings_with_styles(std::initializer_list<VrmlStyle> styles);

// A run host that keeps the messages, counts the beeps and answers every question yes.
class FileSetHost final : public RunHost {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  bool ask_yes_no(const std::string&) override { return true; }
  bool ask_resume(const std::string&) override { return true; }
  void beep() override { ++beeps; }
  std::vector<std::string> messages;
  int beeps = 0;
};

// Keeps every run error it is given and lets the run go on, unless `stop` is set.
class ErrorRecorder final : public ErrorHandler {
 public:
  void recover(const RunError& error) override {
    numbers.push_back(error.number());
    errors.push_back(std::to_string(error.number()) + " " + error.what());
    if (stop) throw RunStopped{};
  }
  std::vector<int> numbers;
  std::vector<std::string> errors;  // number, a blank, message
  bool stop = false;
};

// --- Writing and reading back ---------------------------------------------------------------

// Everything a VRML writer is given, owned, with the clipped colours it reports kept in `sink`.
struct VrmlRun {
  Model model;
  RunSettings settings;
  OutputContext context;
  RhombusSetColours rhombus;
  MessageRecorder sink;

  VrmlInputs inputs() { return {model, settings, context, rhombus, sink}; }
  // The lines `write` writes.
  std::vector<std::string> lines(
      const std::function<void(std::ostream&, const VrmlInputs&)>& write);
};

using VrmlWriter = void (*)(std::ostream&, const VrmlInputs&);

// The text `writer` writes, with the rhombus set colours the settings choose; the messages it
// reports go to `messages` when given.
std::string written(VrmlWriter writer, const Model& model, const RunSettings& settings,
                    const OutputContext& context = pyramid_context(),
                    std::vector<std::string>* messages = nullptr);

// The lines of a text whose every line ends with CR LF (a last line without one is dropped).
std::vector<std::string> lines_of(const std::string& text);

// Path of the golden file `name` in tests/golden.
std::filesystem::path golden(const std::string& name);

// Whether the VRML 2.0 reader tovrmlx3d is on the PATH.
bool tovrmlx3d_installed();

// tovrmlx3d's exit status for one file, and its messages (its stderr).
std::pair<int, std::string> read_with_tovrmlx3d(const std::filesystem::path& path);

}  // namespace ostrel::test
