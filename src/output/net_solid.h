// The solid a net is unfolded from: its faces as plain polygons with their colours, turned so
// that neighbouring faces agree (and outwards when the surface is closed), which side of each
// edge it shares with which other face, and whether folding that edge makes a mountain or a
// valley. Nothing here knows the model store: a run's model and an OFF file both give one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/net_geometry.h"

namespace ostrel {

struct Model;
struct VisibleFaces;

// Faces as a corner list with offsets. Side s of a face runs from its corner s to the next one;
// sides are numbered flat over all faces: side c belongs to the face whose corners
// first_corner[f] <= c < first_corner[f + 1] include c.
struct NetFaces {
  std::vector<double> positions;      // x, y, z of point p at 3p .. 3p + 2
  std::vector<int> first_corner{0};   // face f's corners start here; one entry past the last face
  std::vector<int> corners;           // point of each corner
  std::vector<std::uint32_t> rgb;     // 0xRRGGBB of each face
  std::vector<char> star;             // 1: the face is drawn as a star (its sides cross)

  int face_count() const { return static_cast<int>(first_corner.size()) - 1; }
  int sides(int face) const { return first_corner[face + 1] - first_corner[face]; }
  // Point of corner k (0-based, taken round) of `face`.
  int corner(int face, int k) const {
    const int n = sides(face);
    return corners[static_cast<std::size_t>(first_corner[face] + ((k % n) + n) % n)];
  }
  void add_face(const std::vector<int>& points, std::uint32_t colour, bool drawn_as_star);
};

// The faces of `model` a net holds: every face of three corners or more not flagged "B", in
// face order, coloured as `visible` colours them; points are the vertices FirstVertex.. in order.
NetFaces net_faces(const Model& model, const VisibleFaces& visible);

// "the faces of this model cross each other; nets are made for solids whose faces do not" when
// a face is drawn as a star, when the sides of a face cross one another, or when a side of one
// face passes through the inside of another; empty otherwise.
std::string crossing_faces_problem(const NetFaces& faces);

inline constexpr const char* kCrossingFacesMessage =
    "the faces of this model cross each other; nets are made for solids whose faces do not";

struct NetSolid {
  NetFaces faces;  // turned to agree along their edges
  // Per side: the side of the other face on the same edge; -1 when the edge has one face, or
  // more than two (then it is cut and nothing is glued to it).
  std::vector<int> mate;
  // Per side with a mate: 1 when folding there makes a valley (the faces meet at a reflex
  // edge, seen from outside), 0 for a mountain.
  std::vector<char> valley;
  double mean_edge = 1.0;  // mean side length, the unit the net's edge length stands for
};

NetSolid net_solid(NetFaces faces);

namespace net {
// Point p of `faces` in space.
P3 point(const NetFaces& faces, int p);
// The corners of `face` in its own plane, seen from the side its corners turn counterclockwise
// around, with y pointing down as on paper: corner 0 at the origin, corner 1 on the x axis.
std::vector<P2> face_in_plane(const NetFaces& faces, int face);
// The face's normal by Newell's sum, of unit length.
P3 face_normal(const NetFaces& faces, int face);
}  // namespace net

}  // namespace ostrel
