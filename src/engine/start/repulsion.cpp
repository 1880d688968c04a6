#include "engine/start/repulsion.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace ostrel {
namespace {

constexpr std::int64_t kSpan = 1 << 20;  // cells per axis in a key

std::int64_t cell_of(double coordinate, double reach) {
  return static_cast<std::int64_t>(std::floor(coordinate / reach)) + kSpan / 2;
}

std::int64_t key_of(std::int64_t cx, std::int64_t cy, std::int64_t cz) {
  return (cx * kSpan + cy) * kSpan + cz;
}

}  // namespace

Repulsion::Repulsion(const Model& model, double reach)
    : first_(std::max(model.FirstVertex, 0)), last_(model.LastVertex), reach_(reach) {
  const int count = std::max(last_ - first_ + 1, 0);
  related_.assign(static_cast<std::size_t>(count), {});
  auto relate = [&](int a, int b) {
    if (a < first_ || b < first_ || a > last_ || b > last_ || a == b) return;
    related_[static_cast<std::size_t>(a - first_)].push_back(b);
  };
  for (int e = 1; e <= model.EdgeCount; ++e) {
    relate(model.EdgeVertices(e, 1), model.EdgeVertices(e, 2));
    relate(model.EdgeVertices(e, 2), model.EdgeVertices(e, 1));
  }
  for (int f = 1; f <= model.FaceEntryCount; ++f) {
    const int n = model.FaceSides(f);
    for (int i = 1; i <= n; ++i) {
      for (int j = 1; j <= n; ++j) relate(model.FaceVertices(f, i), model.FaceVertices(f, j));
    }
  }
  for (auto& list : related_) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
  }
  keys_.resize(static_cast<std::size_t>(count));
  order_.resize(static_cast<std::size_t>(count));
}

bool Repulsion::related(int a, int b) const {
  const auto& list = related_[static_cast<std::size_t>(a - first_)];
  return std::binary_search(list.begin(), list.end(), b);
}

const std::vector<std::pair<int, int>>& Repulsion::close_pairs(const Model& model) {
  pairs_.clear();
  const double* x = model.VertexX.data();
  const double* y = model.VertexY.data();
  const double* z = model.VertexZ.data();
  const int count = last_ - first_ + 1;
  if (count < 2) return pairs_;
  for (int i = 0; i < count; ++i) {
    const int v = first_ + i;
    if (!std::isfinite(x[v]) || !std::isfinite(y[v]) || !std::isfinite(z[v])) return pairs_;
    keys_[static_cast<std::size_t>(i)] =
        key_of(cell_of(x[v], reach_), cell_of(y[v], reach_), cell_of(z[v], reach_));
  }
  std::iota(order_.begin(), order_.end(), 0);
  std::sort(order_.begin(), order_.end(), [&](int a, int b) {
    return keys_[static_cast<std::size_t>(a)] != keys_[static_cast<std::size_t>(b)]
               ? keys_[static_cast<std::size_t>(a)] < keys_[static_cast<std::size_t>(b)]
               : a < b;
  });
  sorted_keys_.resize(order_.size());
  for (std::size_t k = 0; k < order_.size(); ++k)
    sorted_keys_[k] = keys_[static_cast<std::size_t>(order_[k])];
  const double reach2 = reach_ * reach_;
  for (int i = 0; i < count; ++i) {
    const int a = first_ + i;
    const std::int64_t cx = cell_of(x[a], reach_);
    const std::int64_t cy = cell_of(y[a], reach_);
    const std::int64_t cz = cell_of(z[a], reach_);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        // The three cells along z are consecutive keys: one search finds them all.
        const auto begin = std::lower_bound(sorted_keys_.begin(), sorted_keys_.end(),
                                            key_of(cx + dx, cy + dy, cz - 1));
        const auto end =
            std::upper_bound(begin, sorted_keys_.end(), key_of(cx + dx, cy + dy, cz + 1));
        for (auto it = begin; it != end; ++it) {
          const int j = order_[static_cast<std::size_t>(it - sorted_keys_.begin())];
          if (j <= i) continue;  // each pair once, from its lower vertex
          const int b = first_ + j;
          const double ex = x[a] - x[b];
          const double ey = y[a] - y[b];
          const double ez = z[a] - z[b];
          if (ex * ex + ey * ey + ez * ez >= reach2 || related(a, b)) continue;
          pairs_.emplace_back(a, b);
        }
      }
    }
  }
  return pairs_;
}

}  // namespace ostrel
