// The edge table: every side of every face once, with the faces on either side, the class
// that picks its pull strength (weakening), its target length and its mark from the input;
// and for every vertex the list of its neighbours.
#pragma once

#include <string>

#include "core/debug_log.h"
#include "core/model.h"

namespace ostrel {

// Length of the outline side of a star {n/d} whose edges have length 1: sin(π/n) / sin(dπ/n).
double StarEdgeRatio(int corners, int step);

// Vertex neighbours: VertexLinks(v, 1..VertexLinkCount(v)).
struct VertexLinkTable {
  Table2<int> VertexLinks{"VertexLinks", ModelCapacity + 1, MaxCorners + 1};
  Table<int> VertexLinkCount{"VertexLinkCount", ModelCapacity + 1};
};

// Adds the edges of faces 1..FaceCount (each face's sides, and the true edges of star faces
// and of faces flagged "n"), then merges the copies of every shared edge: the first copy keeps
// the larger class and takes the later copy's face as its second face.
// `weaken_limit` is the corner count up to which a face's sides are class 1.
void build_edge_table(Model& model, double weaken_limit, DebugLog* debug);

// The merge on its own, over edges 1..EdgeCount as built (exposed for tests).
void merge_edges(Model& model);

// Copies the marks of the input's marked edges onto the edges with the same two ends.
void apply_edge_marks(Model& model);

// With weakening: the number of edges whose two faces both have at most `weaken_limit` corners
// (a missing face counts as 0 corners).
int count_weakenable_edges(const Model& model, double weaken_limit);

inline constexpr const char* kWeakenError =
    "Error: Invalid value for Weaken Limit.  No sides can be weakened.  There must be at least "
    "one edge where both adjacent polygons have a number of sides less than or equal to the "
    "Weaken Limit";

// Fills the neighbour lists from the edge table.
void build_vertex_links(const Model& model, VertexLinkTable& links, DebugLog* debug);

}  // namespace ostrel
