// The vertex pairs whose distance the model itself fixes: the ends of every edge (its target),
// two corners of a regular face (the chord of its regular polygon {n/d}) and the ends of every
// band (the band length). Faces free of forces ("n", "N") or of a rhombus or hexagon set ("D",
// "d", "q") fix only their edges.
#pragma once

#include <vector>

#include "core/model.h"

namespace ostrel {

struct FixedDistance {
  int a = 0;  // vertex numbers, a < b
  int b = 0;
  double target = 0.0;
};

// Each pair once, sorted by (a, b); where a pair is named twice, an edge or a band wins over a
// face chord. Only vertices first..last take part.
std::vector<FixedDistance> fixed_distances(const Model& model, int first, int last,
                                           double band_length);

}  // namespace ostrel
