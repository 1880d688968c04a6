#include "engine/start/stress_start.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/parallel.h"

namespace ostrel {
namespace {

using Columns = std::array<std::vector<double>, 3>;

double& at(Columns& x, int d, int i) {
  return x[static_cast<std::size_t>(d)][static_cast<std::size_t>(i)];
}

// Target distance by step count and the two special codes. A path of g unit edges is at least
// as long as the straight line between its ends, so g is an upper bound: a layout on these
// targets comes out somewhat too large, never crumpled by too short a target.
std::vector<double> target_table(const GraphDistances& distances, double band_length) {
  std::vector<double> table(0x10000, 0.0);
  int farthest = 1;
  for (std::uint16_t steps : distances.steps) {
    if (steps < GraphDistances::kBand) farthest = std::max(farthest, static_cast<int>(steps));
  }
  for (int g = 1; g < GraphDistances::kBand; ++g) table[static_cast<std::size_t>(g)] = g;
  table[GraphDistances::kBand] = band_length;
  // Parts that no edge joins keep a little apart from one another.
  table[GraphDistances::kUnreached] = farthest + 1.0;
  return table;
}

// A first layout by classical scaling: a few rounds of subspace iteration on −½ J D² J (D the
// targets, J the centring) from the current positions, scaled by the square roots of the
// eigenvalues found. Only a few rounds: the leading eigenvectors of a long model are its length
// and its bending, not its girth, and the rounds after the first few only lose the girth.
void classical_scaling(Columns& x, const GraphDistances& distances,
                       const std::vector<double>& target, int dimensions, int threads,
                       const CancelCheck* cancel) {
  const int n = distances.count;
  Columns y;
  for (auto& column : y) column.assign(static_cast<std::size_t>(n), 0.0);
  std::array<double, 3> eigenvalue{};
  for (int round = 0; round < 20; ++round) {
    if (cancel && cancel->stopped()) return;
    for (int d = 0; d < dimensions; ++d) {
      double mean = 0.0;
      for (double value : x[static_cast<std::size_t>(d)]) mean += value;
      mean /= n;
      for (double& value : x[static_cast<std::size_t>(d)]) value -= mean;
    }
    parallel_rows(n, threads, [&](int begin, int end) {
      for (int i = begin; i < end; ++i) {
        const std::uint16_t* row = distances.steps.data() + static_cast<std::size_t>(i) * n;
        std::array<double, 3> sum{};
        for (int j = 0; j < n; ++j) {
          const double t = target[row[j]];
          for (int d = 0; d < dimensions; ++d) {
            sum[static_cast<std::size_t>(d)] +=
                t * t * x[static_cast<std::size_t>(d)][static_cast<std::size_t>(j)];
          }
        }
        for (int d = 0; d < dimensions; ++d) at(y, d, i) = -0.5 * sum[static_cast<std::size_t>(d)];
      }
    });
    // The J on the left, then Gram-Schmidt.
    for (int d = 0; d < dimensions; ++d) {
      auto& column = y[static_cast<std::size_t>(d)];
      double mean = 0.0;
      for (double value : column) mean += value;
      mean /= n;
      for (double& value : column) value -= mean;
      for (int e = 0; e < d; ++e) {
        const auto& other = y[static_cast<std::size_t>(e)];
        double dot = 0.0;
        for (int i = 0; i < n; ++i)
          dot += column[static_cast<std::size_t>(i)] * other[static_cast<std::size_t>(i)];
        for (int i = 0; i < n; ++i)
          column[static_cast<std::size_t>(i)] -= dot * other[static_cast<std::size_t>(i)];
      }
      double norm = 0.0;
      for (double value : column) norm += value * value;
      norm = std::sqrt(norm);
      eigenvalue[static_cast<std::size_t>(d)] = norm;
      if (norm > 0.0) {
        for (double& value : column) value /= norm;
      }
    }
    std::swap(x, y);
  }
  for (int d = 0; d < dimensions; ++d) {
    const double scale = std::sqrt(std::max(eigenvalue[static_cast<std::size_t>(d)], 0.0));
    for (double& value : x[static_cast<std::size_t>(d)]) value *= scale;
  }
}

}  // namespace

StressStartResult stress_majorization_start(Model& model, const GraphDistances& distances,
                                            const std::vector<FixedDistance>& fixed,
                                            const StressStartOptions& options) {
  StressStartResult result;
  const int n = distances.count;
  if (n < 2) return result;
  const int first = distances.first;
  const int dimensions = options.flat ? 2 : 3;
  const std::vector<double> target = target_table(distances, options.band_length);

  Columns x;
  for (auto& column : x) column.assign(static_cast<std::size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    at(x, 0, i) = model.VertexX(first + i);
    at(x, 1, i) = model.VertexY(first + i);
    at(x, 2, i) = options.flat ? 0.0 : model.VertexZ(first + i);
  }
  classical_scaling(x, distances, target, dimensions, options.threads, options.cancel);

  // The fixed distances replace the step targets of their pairs; each row's list is sorted.
  std::vector<std::vector<std::pair<int, double>>> exact(static_cast<std::size_t>(n));
  for (const FixedDistance& pair : fixed) {
    exact[static_cast<std::size_t>(pair.a - first)].emplace_back(pair.b - first, pair.target);
    exact[static_cast<std::size_t>(pair.b - first)].emplace_back(pair.a - first, pair.target);
  }
  for (auto& list : exact) std::sort(list.begin(), list.end());

  // Majorization with unit weights (the Guttman transform):
  // x_i ← (1/n) Σ_j t_ij (x_i − x_j) / |x_i − x_j|.
  Columns next;
  for (auto& column : next) column.assign(static_cast<std::size_t>(n), 0.0);
  std::vector<double> row_stress(static_cast<std::size_t>(n), 0.0);
  double previous = -1.0;
  for (int step = 1; step <= options.max_steps; ++step) {
    if (options.cancel && options.cancel->stopped()) break;
    parallel_rows(n, options.threads, [&](int begin, int end) {
      for (int i = begin; i < end; ++i) {
        const std::uint16_t* row = distances.steps.data() + static_cast<std::size_t>(i) * n;
        const auto& own = exact[static_cast<std::size_t>(i)];
        std::size_t next_fixed = 0;
        const double xi = at(x, 0, i);
        const double yi = at(x, 1, i);
        const double zi = at(x, 2, i);
        double sx = 0.0, sy = 0.0, sz = 0.0, stress = 0.0;
        for (int j = 0; j < n; ++j) {
          double t = target[row[j]];
          if (next_fixed < own.size() && own[next_fixed].first == j) {
            t = own[next_fixed].second;
            ++next_fixed;
          }
          if (j == i) continue;
          const double dx = xi - at(x, 0, j);
          const double dy = yi - at(x, 1, j);
          const double dz = zi - at(x, 2, j);
          const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
          stress += (d - t) * (d - t);
          if (d <= 0.0) continue;
          const double ratio = t / d;
          sx += ratio * dx;
          sy += ratio * dy;
          sz += ratio * dz;
        }
        at(next, 0, i) = sx / n;
        at(next, 1, i) = sy / n;
        at(next, 2, i) = sz / n;
        row_stress[static_cast<std::size_t>(i)] = stress;
      }
    });
    std::swap(x, next);
    double stress = 0.0;
    for (double value : row_stress) stress += value;
    stress /= 2.0;
    result.steps = step;
    result.stress = stress;
    if (options.shown_stress) *options.shown_stress = stress;
    if (previous >= 0.0 && previous - stress <= 1e-7 * previous) break;
    previous = stress;
  }

  // The step targets being upper bounds, the layout is too large: scale it so that the fixed
  // distances are right on average.
  double ratio_sum = 0.0;
  int ratio_count = 0;
  for (const FixedDistance& pair : fixed) {
    const int a = pair.a - first;
    const int b = pair.b - first;
    const double dx = at(x, 0, a) - at(x, 0, b);
    const double dy = at(x, 1, a) - at(x, 1, b);
    const double dz = at(x, 2, a) - at(x, 2, b);
    const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (d > 0.0) {
      ratio_sum += pair.target / d;
      ++ratio_count;
    }
  }
  const double scale = ratio_count > 0 ? ratio_sum / ratio_count : 1.0;
  for (int i = 0; i < n; ++i) {
    const int v = first + i;
    model.VertexX(v) = scale * at(x, 0, i);
    model.VertexY(v) = scale * at(x, 1, i);
    model.VertexZ(v) = options.flat ? 0.0 : scale * at(x, 2, i);
  }
  return result;
}

}  // namespace ostrel
