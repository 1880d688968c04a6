// Least squares on the distances and regular faces of a model, over a chosen set of free
// vertices while the others stay where they are: Gauss-Newton steps with Levenberg-Marquardt
// damping, each solved by a sparse LDLᵀ factorisation of JᵀJ (fill-reducing ordering, the
// damping as its shift). The pattern of JᵀJ is worked out once per solve and only its values
// are factorised at every step, so a step costs about as much as a few passes over the terms
// and a model of 1,500 vertices settles in a fraction of a second. Everything runs on the
// caller's thread in a fixed order: the same terms and positions give the same bits.
#pragma once

#include <atomic>
#include <vector>

#include "engine/cancel.h"

namespace ostrel {

// The terms of a solve; vertices are indices 0..count−1, positions 3 per vertex.
struct ShapeTerms {
  struct Distance {
    int a = 0;
    int b = 0;
    double target = 0.0;
  };
  // A regular face: corners[offset .. offset + sides − 1] in outline order. Corner k gives the
  // residual x_{k+1} + x_{k−1} − 2 cos(2π/n) x_k − (2 − 2 cos(2π/n)) m (m the centroid), zero
  // exactly when the corners lie in a plane on an (affinely) regular polygon.
  // A weight below 1 makes a face a soft wish rather than a target.
  struct Face {
    int offset = 0;
    int sides = 0;
    double weight = 1.0;
  };
  std::vector<Distance> distances;
  std::vector<Face> faces;
  std::vector<int> corners;
};

struct SparseSolveResult {
  int steps = 0;      // Gauss-Newton steps taken
  double cost = 0.0;  // ½ Σ residual² at the end
};

// Moves the vertices i with free[i] != 0 (x holds 3 coordinates per vertex) to lower the cost
// of `terms`, until it falls below 1e-28 or a step no longer lowers it; terms with no free
// vertex are left out. `cancel`, when given, is asked at every step and factorisation: once it
// says stop, the positions reached are kept. `shown_cost` receives the cost after each step.
SparseSolveResult sparse_solve(std::vector<double>& x, const std::vector<char>& free,
                               const ShapeTerms& terms, const CancelCheck* cancel = nullptr,
                               int max_steps = 100, std::atomic<double>* shown_cost = nullptr);

// ½ Σ residual² of `terms` at x (every term counts).
double shape_cost(const std::vector<double>& x, const ShapeTerms& terms);

}  // namespace ostrel
