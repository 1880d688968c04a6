// A start grown face by face from one face outwards, in breadth-first order: a tube grows band
// by band from a cap. Each new face is unfolded from the face it was reached from as a regular
// polygon hinged on their shared edge, bent a little to the same side as all the others (so
// that the model closes up like a convex solid, not in a zigzag), and each layer of new faces
// is settled by least squares on the vertices it placed and those of the layer before, so
// every cycle it closes is closed at once and no kink is laid down that a later solve could not
// undo. Every few layers the whole grown part settles together, its open ends wished (softly)
// to be regular polygons: the open end of a long tube would otherwise warp a little more with
// every ring hung on it. When a layer cannot be settled, or settles onto a vertex placed before
// (a ring folded flat), the growth is given up at once: the attempt ends unsettled, and the
// next one starts afresh from another face, turn and bend. The solves are sparse_solve's.
#pragma once

#include <atomic>
#include <vector>

#include "core/model.h"
#include "core/random.h"
#include "engine/cancel.h"
#include "prepare/fixed_distances.h"

namespace ostrel {

struct GrowStartResult {
  bool settled = false;  // every face placed, the cost below 1e-16, no vertices coincide
  bool folded = false;   // given up: two unrelated vertices settled onto each other
  int layers = 0;        // layers of faces placed
  int solves = 0;        // least-squares solves
  double cost = 0.0;     // ½ Σ residual² of the distances and regular faces at the end
};

// Places vertices FirstVertex..LastVertex of the faces; vertices in no face keep their
// positions. The first face (one of those with the most corners), the turn of the model and the
// bend of its faces come from `random`. `cancel`, when given, is asked before every face and
// inside every solve; once it says stop, the growth ends where it is. `shown_cost` receives the
// cost of each solve. With `guard`, a layer that settles two unrelated vertices onto each other
// gives the growth up (a model that may have coincident vertices passes false).
GrowStartResult grow_start(Model& model, const std::vector<FixedDistance>& pairs, Random& random,
                           const CancelCheck* cancel = nullptr,
                           std::atomic<double>* shown_cost = nullptr, bool guard = true);

}  // namespace ostrel
