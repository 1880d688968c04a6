#include "view/scene_loader.h"

#include <exception>
#include <memory>
#include <numeric>

#include "core/flag_letters.h"
#include "core/model.h"
#include "core/run_error.h"
#include "input/off_reader.h"
#include "input/parser.h"
#include "output/off_writer.h"
#include "prepare/edge_table.h"
#include "prepare/load_model.h"
#include "prepare/star_polygons.h"

namespace ostrel {
namespace {

// Answers the star-collapse question as the run was answered, and keeps every message to itself:
// the run has shown them already.
class QuietDialog final : public UserDialog {
 public:
  explicit QuietDialog(std::optional<bool> answer) : answer_(answer) {}
  void message(const std::string&) override {}
  bool ask_yes_no(const std::string&) override { return answer_.value_or(false); }

 private:
  std::optional<bool> answer_;
};

// Reads the OFF file at `path` into `model` as the OFF reader gives it: vertex i + 1 for index i,
// its coordinates in the starting positions. Returns the message of a file that cannot be shown.
std::string read_off_model(const std::filesystem::path& path, Model& model) {
  std::string text;
  try {
    text = read_input_file(path);
  } catch (const RunError& error) {
    return error.what();
  }
  if (!is_off_text(text)) {
    return "Input error: " + path.string() + " is not an OFF file (it does not start with OFF)";
  }
  try {
    const ParseResult parsed = read_off_input(model, text, ParseRequest{});
    if (!parsed.ok()) return parsed.message;
  } catch (const RunError& error) {
    return error.what();
  }
  if (model.FaceCount < 1) return "Input error: No faces found in input";
  return {};
}

// Puts every vertex where the starting positions of `off` (read by read_off_model) put the
// vertex of the same place in the vertex range.
void place_vertices(Model& model, const Model& off) {
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    const int slot = v - model.FirstVertex;
    model.VertexX(v) = off.StartX(slot);
    model.VertexY(v) = off.StartY(slot);
    model.VertexZ(v) = off.StartZ(slot);
  }
}

// Whether the OFF writer, given `model`, writes the vertices and faces `off` holds: as many
// vertices, and the faces that are not "B" in order, each with the same corners in the order
// the writer puts them.
bool writes_faces_of(const Model& model, const Model& off) {
  if (model.vertex_count() != off.vertex_count()) return false;
  int written = 0;
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::string& flags = model.FaceFlags(f);
    if (has_letter(flags, 'B')) continue;
    const int g = ++written;
    const int sides = model.FaceSides(f);
    if (g > off.FaceCount || off.FaceSides(g) != sides) return false;
    const std::vector<int> order =
        off_corner_order(sides, model.FaceStep(f), has_letter(flags, 'n'));
    for (int k = 1; k <= sides; ++k) {
      if (model.FaceVertices(f, order[static_cast<std::size_t>(k - 1)]) - model.FirstVertex !=
          off.FaceVertices(g, k) - off.FirstVertex)
        return false;
    }
  }
  return written == off.FaceCount;
}

std::string name_of(const std::filesystem::path& path) {
  return path.stem().string();
}

}  // namespace

SceneLoad load_off_scene(const std::filesystem::path& path, const RunSettings& settings) {
  SceneLoad load;
  auto model = std::make_unique<Model>();
  load.error = read_off_model(path, *model);
  if (!load.ok()) return load;
  place_vertices(*model, *model);
  // A face that winds round its centre a number of times sharing a factor with its corner count
  // is no single star polygon: it is shown as the polygon its corners outline.
  for (int f = 1; f <= model->FaceCount; ++f) {
    if (std::gcd(model->FaceSides(f), model->FaceStep(f)) != 1) model->FaceStep(f) = 1;
  }
  try {
    order_star_corners(*model, nullptr);
    build_edge_table(*model, settings.weaken_limit(), nullptr);
    load.scene =
        model_scene(*model, settings, choose_rhombus_colours(settings, {}), model->LastVertex);
  } catch (const RunError& error) {
    load.error = error.what();
    return load;
  }
  load.scene.name = name_of(path);
  return load;
}

SceneLoad load_run_scene(const std::filesystem::path& off_file, const RunInput& run) {
  auto off = std::make_unique<Model>();
  if (!read_off_model(off_file, *off).empty() || run.settings.SegmentCount >= 2) {
    return load_off_scene(off_file, run.settings);
  }
  RunSettings settings = run.settings;
  settings.InflateOption = 1;  // the hop distances of global inflation play no part in a view
  auto model = std::make_unique<Model>();
  QuietDialog dialog(run.collapse_answer);
  std::string text;
  LoadRequest request;
  request.shape = run.shape;
  request.parse.OutputName = name_of(off_file);
  request.parse.IgnoreCoordinates = settings.IgnoreCoordinates;
  request.settings = &settings;
  LoadResult loaded;
  try {
    if (!run.shape) {
      text = read_input_file(run.input);
      request.text = text;
    }
    loaded = load_model(*model, request, dialog);
  } catch (const std::exception&) {
    return load_off_scene(off_file, run.settings);
  }
  if (!loaded.ok() || !writes_faces_of(*model, *off)) {
    return load_off_scene(off_file, run.settings);
  }
  const PreparedModel& prepared = loaded.preparation;
  place_vertices(*model, *off);
  SceneLoad load;
  try {
    load.scene = model_scene(*model, settings,
                             choose_rhombus_colours(settings, measured_rhombus_diagonals(*model)),
                             prepared.input_last_vertex);
  } catch (const RunError& error) {
    load.error = error.what();
    return load;
  }
  load.scene.name = name_of(off_file);
  return load;
}

}  // namespace ostrel
