// The positions of vertices first..first + n − 1 as one flat array (x, y, z of each in turn),
// the form the robust starts' solvers work on, and the direction between two of them.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/model.h"

namespace ostrel {

inline std::vector<double> gather_positions(const Model& model, int first, int n) {
  std::vector<double> x(3 * static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    x[3 * i] = model.VertexX(first + i);
    x[3 * i + 1] = model.VertexY(first + i);
    x[3 * i + 2] = model.VertexZ(first + i);
  }
  return x;
}

// The unit direction from vertex b to vertex a (indices into the flat array) into `u`, and
// their distance. Coincident vertices get the x axis: any direction parts them.
inline double unit_direction(const std::vector<double>& x, int a, int b, double u[3]) {
  u[0] = x[3 * a] - x[3 * b];
  u[1] = x[3 * a + 1] - x[3 * b + 1];
  u[2] = x[3 * a + 2] - x[3 * b + 2];
  const double length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  if (length > 0.0) {
    for (int c = 0; c < 3; ++c) u[c] /= length;
  } else {
    u[0] = 1.0;
    u[1] = u[2] = 0.0;
  }
  return length;
}

}  // namespace ostrel
