// What a model view draws: the model as the solid VRML file shows it and as the frame VRML file
// shows it, its drawn edges with their colours, and the vertex spheres. Built from a prepared
// model whose vertices stand where the files put them; nothing here knows a window system.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "output/file_set.h"
#include "output/visible_faces.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

struct ModelScene {
  std::string name;    // the model's name, shown in the view's caption
  VisibleFaces solid;  // every face but "B" as the solid file draws it
  VisibleFaces frame;  // every face but "B" reduced to its band, as the frame file draws it
                       // (faces flagged "s" whole); its points and edges are those of `solid`
  // The faces on either side of each drawn edge (solid.edges / 2 entries of two; 0: none),
  // so that a view can draw an edge just after the faces it borders.
  std::vector<int> edge_faces;
  // Red, green, blue 0..1 of the edge kinds 0 ordinary (VRMLEdge), 1 beside a hidden face
  // (NakedEdge), 2 highlighted (HiEdge).
  std::array<std::array<float, 3>, 3> edge_rgb{};
  // The vertex points that carry a sphere (vertices flagged "V" among the input's own) and the
  // spheres' radius (VertexSize × 0.01) and colour (VertexCol).
  std::vector<std::uint32_t> spheres;
  double sphere_radius = 0.05;
  std::array<float, 3> sphere_rgb{};
  // What the model holds, for the view's caption.
  int vertex_count = 0;
  int face_count = 0;  // faces drawn (not "B")
  int edge_count = 0;  // edges drawn
};

// The scene of a prepared `model` (its edge table built). `input_last_vertex` is the last of the
// input's own vertices (later ones, augmentation apexes, get no sphere); `rhombus` the colours of
// the rhombus sets. Colour texts out of range are dropped silently: the run reported them.
ModelScene model_scene(const Model& model, const RunSettings& settings,
                       const RhombusSetColours& rhombus, int input_last_vertex);

// The short and long diagonals of the rhombus sets 1..3 ("D", "d", "q" on four-corner faces) as
// the model's vertices stand: the mean over each set's faces; 0 for a set without faces.
std::array<RhombusDiagonals, 4> measured_rhombus_diagonals(const Model& model);

}  // namespace ostrel
