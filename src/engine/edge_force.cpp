#include "engine/edge_force.h"

#include <cmath>

namespace ostrel {
namespace {

// The arrays are taken into locals and the sum is kept in a local, so that the stores to the
// shifts and deviations do not make the compiler read them again for every edge.
template <bool kMove>
void pull_edges(const EdgeList& edges, const VertexArrays& at, const double* strength,
                double step_factor, double* deviation, double& deform) {
  const int* __restrict number = edges.number;
  const int* __restrict ends_a = edges.a;
  const int* __restrict ends_b = edges.b;
  const int* __restrict force_class = edges.force_class;
  const double* __restrict target = edges.target;
  const double* __restrict x = at.x;
  const double* __restrict y = at.y;
  const double* __restrict z = at.z;
  double* __restrict shift_x = at.shift_x;
  double* __restrict shift_y = at.shift_y;
  double* __restrict shift_z = at.shift_z;
  double sum = deform;
  for (std::size_t i = 0; i < edges.count; ++i) {
    const int a = ends_a[i];
    const int b = ends_b[i];
    const double dx = x[a] - x[b];
    const double dy = y[a] - y[b];
    const double dz = z[a] - z[b];
    const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double stretch = l - target[i];
    deviation[number[i]] = stretch;
    sum += std::fabs(stretch);
    if (!kMove || l == 0.0) continue;
    const double s = stretch * step_factor * strength[force_class[i]] / l;
    shift_x[a] -= s * dx;
    shift_y[a] -= s * dy;
    shift_z[a] -= s * dz;
    shift_x[b] += s * dx;
    shift_y[b] += s * dy;
    shift_z[b] += s * dz;
  }
  deform = sum;
}

}  // namespace

void edge_force(const EdgeList& edges, const VertexArrays& at, const double* strength,
                double step_factor, double* deviation, double& deform, bool move) {
  if (move) {
    pull_edges<true>(edges, at, strength, step_factor, deviation, deform);
  } else {
    pull_edges<false>(edges, at, strength, step_factor, deviation, deform);
  }
}

}  // namespace ostrel
