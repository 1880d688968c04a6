// The surface the solid style shows, as flat arrays of triangles: what the glTF and STL writers
// write and what a live view can draw. Nothing here knows a file format.
//
// Each face not flagged "B" is drawn as the solid VRML file draws it:
// - an ordinary face whole, cut into n − 2 triangles by ear clipping in its best-fit plane (a
//   fan from corner 1 for a convex face);
// - a star face {n/d} (step d > 1, or any face flagged "n") whole, as the region its spikes
//   cover: for d > 1 the 2n triangles from its centre (the mean of its corners) to its outline,
//   which runs from each corner to the crossing of its edge with the next corner's edge;
//   for step 1 (a face flagged "n") the n spikes centre, corner k, corner k + 1;
// - a face flagged "f" (a frame) as one quadrilateral per side, corner k, corner k + d and their
//   inner points (the frame width FrameVal), two triangles each;
// - a face flagged "t" whole, like any other, with its colour's alpha lowered by TransLevel
//   (its frame band, drawn under it by the VRML file, is left out).
// Triangles turn the way the face's edges run as the input listed them, so a star listed
// counterclockwise faces the same way as a polygon listed counterclockwise. When every face is an
// ordinary polygon drawn whole and every edge joins exactly two of them, the faces are turned to
// agree along their edges and each connected piece to face outwards (positive volume), where
// that is possible. A star face (whole or framed) whose plane misses the mean of the vertices
// faces away from it, however it was listed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/message_sink.h"
#include "output/file_set.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

struct VisibleFaces {
  // x, y, z of point p at 3p .. 3p + 2. Points 0 .. vertex_points − 1 are the vertices
  // FirstVertex .. LastVertex (point v − FirstVertex); the extra points of the star and frame
  // faces follow.
  std::vector<double> positions;
  int vertex_points = 0;
  // Three points per triangle, counterclockwise seen from the side the triangle faces.
  std::vector<std::uint32_t> triangles;
  // The face (1 .. FaceCount) each triangle belongs to.
  std::vector<int> triangle_faces;
  // Red, green, blue and alpha 0..1 of face f at 4f .. 4f + 3 (entry 0 and "B" faces all 0):
  // the colour the input gave the face, else that of its FaceColourIndex in the VRML colour
  // table; alpha 1 − TransLevel for a face flagged "t".
  std::vector<float> face_rgba;
  // The edges the VRML edge set draws, two vertex points each, and their kind: 0 ordinary,
  // 1 beside a hidden face, 2 highlighted.
  std::vector<std::uint32_t> edges;
  std::vector<int> edge_kinds;
  bool closed = false;   // ordinary faces only, drawn whole, every edge in exactly two of them
  bool outward = false;  // closed, and every triangle turned to face outwards

  std::size_t triangle_count() const { return triangle_faces.size(); }
};

// The visible surface of `model` as the settings draw it. Colour texts that are out of range are
// reported through `sink` as the VRML colour table reports them.
VisibleFaces visible_faces(const Model& model, const RunSettings& settings,
                           const RhombusSetColours& rhombus, MessageSink& sink);

}  // namespace ostrel
