#include "engine/start/build_start.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/vec3.h"

namespace ostrel {
namespace {

// Directions spread over the sphere (a Fibonacci lattice), turned by a random rotation.
std::vector<Vec3> directions(int count, Random& random) {
  const double a = 2.0 * 3.14159265358979323846 * random.uniform();
  const double b = std::acos(2.0 * random.uniform() - 1.0);
  std::vector<Vec3> out;
  const double golden = 3.14159265358979323846 * (3.0 - std::sqrt(5.0));
  for (int k = 0; k < count; ++k) {
    const double z = 1.0 - 2.0 * (k + 0.5) / count;
    const double r = std::sqrt(1.0 - z * z);
    Vec3 p{r * std::cos(golden * k + a), r * std::sin(golden * k + a), z};
    // Tilt by b about the x axis.
    out.push_back(
        {p.x, p.y * std::cos(b) - p.z * std::sin(b), p.y * std::sin(b) + p.z * std::cos(b)});
  }
  return out;
}

struct Partner {
  int index;  // into the placed positions
  double target;
};

class Builder {
 public:
  Builder(Model& model, const std::vector<FixedDistance>& pairs, Random& random)
      : model_(model), random_(random) {
    first_ = std::max(model.FirstVertex, 0);
    n_ = std::max(model.LastVertex - first_ + 1, 0);
    partners_.assign(static_cast<std::size_t>(n_), {});
    for (const FixedDistance& pair : pairs) {
      partners_[static_cast<std::size_t>(pair.a - first_)].push_back(
          {pair.b - first_, pair.target});
      partners_[static_cast<std::size_t>(pair.b - first_)].push_back(
          {pair.a - first_, pair.target});
    }
    position_.assign(static_cast<std::size_t>(n_), Vec3{});
    placed_.assign(static_cast<std::size_t>(n_), 0);
    sphere_ = directions(48, random);
  }

  double worst_miss() const { return std::sqrt(worst_miss_); }

  void run(const CancelCheck* cancel) {
    if (n_ == 0) return;
    // Grow from the root: the next vertex is the unplaced one with the most placed partners
    // (the first found on a tie), so each is fixed by as many distances as can be.
    std::vector<int> count(static_cast<std::size_t>(n_), 0);
    int root = std::min(static_cast<int>(random_.uniform() * n_), n_ - 1);
    int placed = 0;
    while (placed < n_) {
      if (cancel && cancel->stopped()) return;
      int next = -1;
      for (int v = 0; v < n_; ++v) {
        if (placed_[static_cast<std::size_t>(v)]) continue;
        if (next < 0 || count[static_cast<std::size_t>(v)] > count[static_cast<std::size_t>(next)])
          next = v;
      }
      if (count[static_cast<std::size_t>(next)] == 0) next = placed == 0 ? root : next;
      place(next);
      ++placed;
      for (const Partner& partner : partners_[static_cast<std::size_t>(next)]) {
        ++count[static_cast<std::size_t>(partner.index)];
      }
    }
    for (int i = 0; i < n_; ++i) {
      const int v = first_ + i;
      model_.VertexX(v) = position_[static_cast<std::size_t>(i)].x;
      model_.VertexY(v) = position_[static_cast<std::size_t>(i)].y;
      model_.VertexZ(v) = position_[static_cast<std::size_t>(i)].z;
    }
  }

 private:
  // How well point p meets the placed partners: the sum of squared misses.
  double miss(const Vec3& p, const std::vector<Partner>& partners) const {
    double sum = 0.0;
    for (const Partner& partner : partners) {
      const double d =
          length(p - position_[static_cast<std::size_t>(partner.index)]) - partner.target;
      sum += d * d;
    }
    return sum;
  }

  // The least distance from p to any placed vertex but the partners' own.
  double room(const Vec3& p) const {
    double least = std::numeric_limits<double>::infinity();
    for (int v = 0; v < n_; ++v) {
      if (placed_[static_cast<std::size_t>(v)])
        least = std::min(least, length(p - position_[static_cast<std::size_t>(v)]));
    }
    return least;
  }

  // Gauss-Newton on one point towards its partners' distances.
  Vec3 settle(Vec3 p, const std::vector<Partner>& partners) const {
    for (int iteration = 0; iteration < 30; ++iteration) {
      // Normal equations of a 3-unknown problem.
      std::array<double, 9> a{};
      std::array<double, 3> g{};
      for (const Partner& partner : partners) {
        Vec3 d = p - position_[static_cast<std::size_t>(partner.index)];
        const double l = length(d);
        if (l == 0.0) continue;
        const Vec3 unit = d * (1.0 / l);
        const std::array<double, 3> u{unit.x, unit.y, unit.z};
        const double r = l - partner.target;
        for (int i = 0; i < 3; ++i) {
          g[static_cast<std::size_t>(i)] += r * u[static_cast<std::size_t>(i)];
          for (int j = 0; j < 3; ++j)
            a[static_cast<std::size_t>(3 * i + j)] +=
                u[static_cast<std::size_t>(i)] * u[static_cast<std::size_t>(j)];
        }
      }
      for (int i = 0; i < 3; ++i) a[static_cast<std::size_t>(4 * i)] += 1e-9;
      // Solve a·δ = −g (3×3, by Cramer's rule).
      const double det = a[0] * (a[4] * a[8] - a[5] * a[7]) - a[1] * (a[3] * a[8] - a[5] * a[6]) +
                         a[2] * (a[3] * a[7] - a[4] * a[6]);
      if (std::fabs(det) < 1e-30) break;
      auto column_det = [&](int c) {
        std::array<double, 9> m = a;
        for (int i = 0; i < 3; ++i)
          m[static_cast<std::size_t>(3 * i + c)] = -g[static_cast<std::size_t>(i)];
        return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
               m[2] * (m[3] * m[7] - m[4] * m[6]);
      };
      const Vec3 delta{column_det(0) / det, column_det(1) / det, column_det(2) / det};
      p = p + delta;
      if (length(delta) < 1e-13) break;
    }
    return p;
  }

  void place(int v) {
    std::vector<Partner> partners;
    for (const Partner& partner : partners_[static_cast<std::size_t>(v)]) {
      if (placed_[static_cast<std::size_t>(partner.index)]) partners.push_back(partner);
    }
    Vec3 best{};
    if (partners.empty()) {
      // A new part: beside everything placed so far.
      double reach = 0.0;
      for (int w = 0; w < n_; ++w) {
        if (placed_[static_cast<std::size_t>(w)])
          reach = std::max(reach, length(position_[static_cast<std::size_t>(w)]));
      }
      best = sphere_[0] * (reach > 0.0 ? reach + 2.0 : 0.0);
    } else {
      // Candidates: around the first partner at its distance, each settled onto all partners;
      // the best meets the distances, then keeps most room from the rest.
      const Vec3& centre = position_[static_cast<std::size_t>(partners[0].index)];
      double best_miss = std::numeric_limits<double>::infinity();
      double best_room = -1.0;
      for (const Vec3& direction : sphere_) {
        Vec3 candidate = settle(centre + direction * partners[0].target, partners);
        const double m = miss(candidate, partners);
        // Room weighed with a random factor: a folded choice (no room) always loses, while of two
        // open ones (the two sides of a band) either may win, so attempts differ.
        const double r = room(candidate) * (0.5 + random_.uniform());
        const bool better_miss = m < best_miss - 1e-9;
        const bool same_miss = std::fabs(m - best_miss) <= 1e-9;
        if (better_miss || (same_miss && r > best_room + 1e-9)) {
          best = candidate;
          best_miss = m;
          best_room = r;
        }
      }
    }
    if (!partners.empty()) worst_miss_ = std::max(worst_miss_, miss(best, partners));
    position_[static_cast<std::size_t>(v)] = best;
    placed_[static_cast<std::size_t>(v)] = 1;
  }

  Model& model_;
  Random& random_;
  int first_ = 0;
  int n_ = 0;
  std::vector<std::vector<Partner>> partners_;
  std::vector<Vec3> position_;
  std::vector<char> placed_;
  std::vector<Vec3> sphere_;
  double worst_miss_ = 0.0;
};

}  // namespace

double build_start(Model& model, const std::vector<FixedDistance>& pairs, Random& random,
                   const CancelCheck* cancel) {
  Builder builder(model, pairs, random);
  builder.run(cancel);
  return builder.worst_miss();
}

}  // namespace ostrel
