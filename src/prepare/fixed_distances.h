// The vertex pairs whose distance the settled model must have: the ends of every edge (its
// target) and two corners of a regular face (the chord of its regular polygon {n/d}). Faces free
// of forces ("n", "N") or of a rhombus or hexagon set ("D", "d", "q") fix only their edges; bands
// hold their vertices only while the model takes shape, and fix nothing.
#pragma once

#include <vector>

#include "core/model.h"

namespace ostrel {

struct FixedDistance {
  int a = 0;  // vertex numbers, a < b
  int b = 0;
  double target = 0.0;
};

// Each pair once, sorted by (a, b); where a pair is named twice, an edge wins over a face chord.
// Only vertices first..last take part.
std::vector<FixedDistance> fixed_distances(const Model& model, int first, int last);

}  // namespace ostrel
