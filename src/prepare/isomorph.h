// The isomorph signature: one number from all vertex positions that tells settled shapes
// apart, with the test for coincident vertices made while it is summed, and the check of the
// centroid vertices.
#pragma once

#include <string>

#include "core/model.h"

namespace ostrel {

struct Signature {
  double value = 0.0;
  bool coincident = false;  // two vertices closer than √0.0000001 (only tested without the
                            // "No Coincidence checking" option)
};

// Sum over vertex pairs v < w of √(d² · weight), weight v + 1 with `isomorph_weight` (vertex
// isomorph detection) else 1; with `allow_coincidence` the squared values are summed as they
// stand and nothing is tested.
Signature isomorph_signature(const Model& model, bool isomorph_weight, bool allow_coincidence);

// Signatures closer than this are the same isomorph.
inline constexpr double kDuplicateTolerance = 0.005;

inline constexpr const char* kCentroidError = "Error: Exactly 4 centroid vertices must be defined";

// Marks the vertices flagged "C" in CentroidMark (1..4 in vertex order). Returns false when
// some, but not exactly four, vertices are flagged.
bool mark_centroid_vertices(Model& model);

// Largest distance of a vertex from the centroid of the four centroid vertices (from the
// origin when there are none): the scene radius of the writers.
double scene_radius(const Model& model);

}  // namespace ostrel
