// A start built vertex by vertex, as one builds a model by hand: from a root vertex outwards over
// the fixed distances (edges, chords of regular faces, bands), each vertex is placed where it
// meets its already placed partners best, on the side away from everything placed so far. A
// chain of tetrahedra or a tower of rings comes out whole, without the folds and twisted
// domains that a start from random positions settles into.
#pragma once

#include <vector>

#include "core/model.h"
#include "core/random.h"
#include "engine/cancel.h"
#include "prepare/fixed_distances.h"

namespace ostrel {

// Places vertices FirstVertex..LastVertex; the root and the turn of the first placements come
// from `random`. Vertices that no fixed distance reaches from the root start beside the others.
// Returns the largest miss of a placed vertex: the root of its summed squared misses of its
// partners' distances (0 when every vertex met its partners exactly, as in a rigid chain).
// `cancel`, when given, is asked before each vertex is placed; once it says stop, the vertices
// not yet placed keep their positions.
double build_start(Model& model, const std::vector<FixedDistance>& pairs, Random& random,
                   const CancelCheck* cancel = nullptr);

}  // namespace ostrel
