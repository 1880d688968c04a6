// Settles the distances the model fixes (edges, the chords of its regular faces, bands) by
// least squares, for the robust starts: Gauss-Newton steps with Levenberg-Marquardt damping,
// each solved by conjugate gradients on the normal equations. The Jacobian is applied pair by
// pair and never stored, so a step costs a few passes over the pairs, and the solver reaches
// in tens of steps what the relaxation step takes thousands of iterations for on a long model.
// Unrelated vertices closer than the repulsion's reach are held apart meanwhile, so that a
// model does not settle folded onto itself.
#pragma once

#include <atomic>

#include <vector>

#include "core/model.h"
#include "engine/cancel.h"
#include "engine/start/repulsion.h"
#include "prepare/fixed_distances.h"

namespace ostrel {

struct ShapeSolverResult {
  int steps = 0;          // Gauss-Newton steps taken
  int cg_iterations = 0;  // conjugate-gradient iterations over all steps
  double cost = 0.0;      // ½ Σ residual² at the end (fixed distances and held-off pairs)
};

// Moves vertices FirstVertex..LastVertex.
// `shown_cost`, when given, receives the cost after every step (for a progress display).
// `cancel`, when given, is asked at every step and conjugate-gradient iteration: once it says
// stop, the solver keeps the positions it has.
ShapeSolverResult solve_shape(Model& model, const std::vector<FixedDistance>& pairs,
                              Repulsion* repulsion, const CancelCheck* cancel = nullptr,
                              int max_steps = 200, std::atomic<double>* shown_cost = nullptr);

}  // namespace ostrel
