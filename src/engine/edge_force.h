// The edge force: every edge pulled towards its target length, over flat arrays.
#pragma once

#include <cstddef>

#include "engine/corner_rings.h"

namespace ostrel {

// The edges that take the force, in edge order; entry i is edge number `number[i]` from
// vertex a[i] to vertex b[i], with its force class (an index into the force strengths) and
// target length.
struct EdgeList {
  const int* number;
  const int* a;
  const int* b;
  const int* force_class;
  const double* target;
  std::size_t count;
};

// Writes every edge's stretch (length - target) to deviation[number] and adds its size to
// `deform`; with `move`, adds each edge's pull to its two vertices' shifts, edge after edge.
void edge_force(const EdgeList& edges, const VertexArrays& at, const double* strength,
                double step_factor, double* deviation, double& deform, bool move);

}  // namespace ostrel
