// The positions of vertices first..first + n − 1 as one flat array (x, y, z of each in turn),
// the form the robust starts' solvers work on.
#pragma once

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

}  // namespace ostrel
