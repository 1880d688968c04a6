// What the inflation forces and the first iteration need: the hop distances of global
// inflation (with bands and the square-root option), the local inflation values, and the
// starting positions of every isomorph.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/debug_log.h"
#include "core/model.h"
#include "core/random.h"
#include "prepare/edge_table.h"
#include "settings/run_settings.h"

namespace ostrel {

// Target distances of global inflation by vertex pair (vertex numbers 0..HopMatrixSide).
using HopDistanceTable = Table2<float>;
// A table for vertex numbers 0..last_vertex; a vertex numbered above HopMatrixSide does not fit
// the matrix and raises the subscript run error.
inline HopDistanceTable make_hop_distance_table(int last_vertex = HopMatrixSide) {
  if (last_vertex > HopMatrixSide) throw_subscript_error("HopDistance", last_vertex);
  int side = std::max(last_vertex, 0) + 1;
  return HopDistanceTable("HopDistance", side, side);
}

// The levels by which hop distances spread from the edges and bands.
inline constexpr int kHopLevels = 50;

// Fills `hop` for vertices FirstVertex..LastVertex: the edge targets, 1 for each band (the
// links after the faces), then hop counts spread out from them over the edges for 50 levels
// (a pair reached first at level L gets L + 1; the diagonal of a vertex with an edge gets 2;
// pairs not reached stay 0), and last `band_length` for each band.
void compute_hop_distances(const Model& model, const VertexLinkTable& links, double band_length,
                           HopDistanceTable& hop, DebugLog* debug);

// Every pair's h becomes multiplier · √h. A negative h (a band of negative length) has no
// square root and is left as it is; returns how many were.
int apply_square_root_hop(const Model& model, double multiplier, HopDistanceTable& hop);

// The local inflation values 1 to 3 (ordinary, star and selected faces) of one isomorph:
// ranges are drawn from the run's generator, fixed values taken as they stand.
struct LocalInflation {
  std::array<double, 4> value{0.0, 1.0, 1.0, 1.0};
};
LocalInflation draw_local_inflation(const RunSettings& settings, Random& random);

// The inflation factor of each edge (index 1..EdgeCount) in local diagonal inflation: the
// selected-face value when a face of the edge is of the SelectFace kind, else the star-face
// value when a face of the edge is a star, else the ordinary value. "Value" and "Range" use the
// ordinary value for every edge.
std::vector<double> edge_inflation_factors(const Model& model, const RunSettings& settings,
                                           const LocalInflation& inflation);

// Places vertices FirstVertex..LastVertex for a new isomorph (place_vertices), then flattens
// them (flatten_vertices).
void place_starting_positions(Model& model, const RunSettings& settings, Random& random);

// The input's starting positions where given, else at random in the cube from -1 to 1 (x, y, z
// drawn in that order). Then clears the slots so that later isomorphs start at random. The
// relaxation's motion starts from these positions, before a flat model is flattened.
void place_vertices(Model& model, Random& random);

// Flattens a single face flagged "X", "Y" or "Z" (unless `incord`) and every vertex with
// XYConfine.
void flatten_vertices(Model& model, const RunSettings& settings);

// The clearing of the slots that place_starting_positions ends with.
void forget_starting_positions(Model& model);

// The highest vertex with at least one neighbour (vertices above it take no part).
int last_linked_vertex(const Model& model, const VertexLinkTable& links);

}  // namespace ostrel
