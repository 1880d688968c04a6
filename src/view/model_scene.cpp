#include "view/model_scene.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "output/vrml_geometry.h"

namespace ostrel {
namespace {

std::array<float, 3> colour_of(const std::string& text, MessageSink& sink) {
  const RgbColour rgb = ColourTextToRgb(text, "View", sink);
  const auto channel = [](int value) {
    return static_cast<float>(std::clamp(value, 0, 255)) / 255;
  };
  return {channel(rgb.red), channel(rgb.green), channel(rgb.blue)};
}

}  // namespace

std::array<RhombusDiagonals, 4> measured_rhombus_diagonals(const Model& model) {
  std::array<RhombusDiagonals, 4> diagonals{};
  std::array<int, 4> count{};
  const auto distance = [&](int a, int b) {
    return vector_length(model.VertexX(a) - model.VertexX(b), model.VertexY(a) - model.VertexY(b),
                         model.VertexZ(a) - model.VertexZ(b));
  };
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (model.FaceSides(f) != 4) continue;
    const std::string& flags = model.FaceFlags(f);
    const double d13 = distance(model.FaceVertices(f, 1), model.FaceVertices(f, 3));
    const double d24 = distance(model.FaceVertices(f, 2), model.FaceVertices(f, 4));
    for (std::size_t set = 1; set <= 3; ++set) {
      if (!has_letter(flags, "Ddq"[set - 1])) continue;
      ++count[set];
      diagonals[set].short_diagonal += std::min(d13, d24);
      diagonals[set].long_diagonal += std::max(d13, d24);
    }
  }
  for (std::size_t set = 1; set <= 3; ++set) {
    if (count[set] == 0) continue;
    diagonals[set].short_diagonal /= count[set];
    diagonals[set].long_diagonal /= count[set];
  }
  return diagonals;
}

ModelScene model_scene(const Model& model, const RunSettings& settings,
                       const RhombusSetColours& rhombus, int input_last_vertex) {
  NullMessageSink quiet;
  ModelScene scene;
  scene.solid = visible_faces(model, settings, rhombus, quiet);

  // The frame file draws every face as its band but those flagged "s", and draws the
  // transparent faces as bands too.
  auto framed = std::make_unique<Model>(model);
  for (int f = 1; f <= framed->FaceCount; ++f) {
    std::string& flags = framed->FaceFlags(f);
    std::erase(flags, 't');
    if (!has_letter(flags, 's') && !has_letter(flags, 'f')) flags += 'f';
  }
  scene.frame = visible_faces(*framed, settings, rhombus, quiet);

  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (!edge_line_colour(model, e)) continue;  // the same edges, in the same order, as solid
    scene.edge_faces.push_back(model.EdgeFaces(e, 1));
    scene.edge_faces.push_back(model.EdgeFaces(e, 2));
  }
  scene.edge_rgb = {colour_of(settings.VRMLEdge, quiet), colour_of(settings.NakedEdge, quiet),
                    colour_of(settings.HiEdge, quiet)};

  for (int v = model.FirstVertex; v <= std::min(input_last_vertex, model.LastVertex); ++v) {
    if (has_letter(model.VertexFlags(v), 'V')) {
      scene.spheres.push_back(static_cast<std::uint32_t>(v - model.FirstVertex));
    }
  }
  scene.sphere_radius = lenient_value(settings.VertexSize) * 0.01;
  scene.sphere_rgb = colour_of(settings.VertexCol, quiet);

  scene.vertex_count = model.vertex_count();
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (!has_letter(model.FaceFlags(f), 'B')) ++scene.face_count;
  }
  scene.edge_count = static_cast<int>(scene.solid.edge_kinds.size());
  return scene;
}

}  // namespace ostrel
