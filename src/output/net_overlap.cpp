#include "output/net_overlap.h"

#include <cmath>

namespace ostrel::net {
namespace {

// The extent of `polygon` along `axis`.
std::pair<double, double> shadow(const std::vector<P2>& polygon, P2 axis) {
  double low = 1e300, high = -1e300;
  for (const P2& p : polygon) {
    const double s = dot(p, axis);
    low = std::min(low, s);
    high = std::max(high, s);
  }
  return {low, high};
}

bool separated_along_sides(const std::vector<P2>& a, const std::vector<P2>& b, double eps) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    const P2 side = a[(i + 1) % a.size()] - a[i];
    const double l = length(side);
    if (l <= 0) continue;
    const P2 axis{-side.y / l, side.x / l};
    const auto [a_low, a_high] = shadow(a, axis);
    const auto [b_low, b_high] = shadow(b, axis);
    if (std::min(a_high, b_high) - std::max(a_low, b_low) <= eps) return true;
  }
  return false;
}

bool is_convex(const std::vector<P2>& polygon) {
  const std::size_t n = polygon.size();
  const double sign = twice_area(polygon) > 0 ? 1.0 : -1.0;
  for (std::size_t i = 0; i < n; ++i) {
    const P2 a = polygon[i], b = polygon[(i + 1) % n], c = polygon[(i + 2) % n];
    if (sign * cross(b - a, c - b) < -1e-12 * (length(b - a) * length(c - b))) return false;
  }
  return true;
}

}  // namespace

bool convex_overlap(const std::vector<P2>& a, const std::vector<P2>& b, double eps) {
  return !separated_along_sides(a, b, eps) && !separated_along_sides(b, a, eps);
}

std::vector<std::vector<int>> ear_triangles(const std::vector<P2>& polygon) {
  std::vector<std::vector<int>> triangles;
  std::vector<int> left;
  for (int i = 0; i < static_cast<int>(polygon.size()); ++i) left.push_back(i);
  const double sign = twice_area(polygon) > 0 ? 1.0 : -1.0;
  const auto at = [&](int i) { return polygon[static_cast<std::size_t>(i)]; };
  while (left.size() > 3) {
    bool cut = false;
    const std::size_t n = left.size();
    for (std::size_t i = 0; i < n && !cut; ++i) {
      const int a = left[(i + n - 1) % n], b = left[i], c = left[(i + 1) % n];
      if (sign * cross(at(b) - at(a), at(c) - at(b)) <= 0) continue;  // reflex corner
      bool empty = true;
      for (int other : left) {
        if (other == a || other == b || other == c) continue;
        const P2 p = at(other);
        if (sign * cross(at(b) - at(a), p - at(a)) > 0 && sign * cross(at(c) - at(b), p - at(b)) > 0 &&
            sign * cross(at(a) - at(c), p - at(c)) > 0) {
          empty = false;
          break;
        }
      }
      if (!empty) continue;
      triangles.push_back({a, b, c});
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
      cut = true;
    }
    if (!cut) {  // a degenerate polygon: cut the rest as a fan
      for (std::size_t i = 1; i + 1 < left.size(); ++i) triangles.push_back({left[0], left[i], left[i + 1]});
      return triangles;
    }
  }
  triangles.push_back(left);
  return triangles;
}

std::vector<std::vector<int>> convex_parts(const std::vector<P2>& polygon) {
  if (is_convex(polygon)) {
    std::vector<int> all;
    for (int i = 0; i < static_cast<int>(polygon.size()); ++i) all.push_back(i);
    return {all};
  }
  return ear_triangles(polygon);
}

template <class Visit>
void PaperIndex::cells(const Box& box, Visit visit) const {
  const auto x0 = static_cast<std::int64_t>(std::floor(box.x0 / cell_));
  const auto x1 = static_cast<std::int64_t>(std::floor(box.x1 / cell_));
  const auto y0 = static_cast<std::int64_t>(std::floor(box.y0 / cell_));
  const auto y1 = static_cast<std::int64_t>(std::floor(box.y1 / cell_));
  for (std::int64_t x = x0; x <= x1; ++x) {
    for (std::int64_t y = y0; y <= y1; ++y) visit(key(x, y));
  }
}

bool PaperIndex::overlaps(const std::vector<P2>& polygon,
                          const std::vector<std::vector<int>>& parts) {
  for (const auto& part : parts) {
    std::vector<P2> corners;
    Box box;
    for (int i : part) {
      corners.push_back(polygon[static_cast<std::size_t>(i)]);
      box.add(corners.back());
    }
    ++stamp_;
    bool hit = false;
    cells(box, [&](std::int64_t cell) {
      if (hit) return;
      const auto found = grid_.find(cell);
      if (found == grid_.end()) return;
      for (int other : found->second) {
        auto& seen = seen_[static_cast<std::size_t>(other)];
        if (seen == stamp_) continue;
        seen = stamp_;
        const Part& placed = parts_[static_cast<std::size_t>(other)];
        if (placed.box.x0 >= box.x1 - eps_ || box.x0 >= placed.box.x1 - eps_ ||
            placed.box.y0 >= box.y1 - eps_ || box.y0 >= placed.box.y1 - eps_)
          continue;
        if (convex_overlap(corners, placed.corners, eps_)) {
          hit = true;
          return;
        }
      }
    });
    if (hit) return true;
  }
  return false;
}

void PaperIndex::add(const std::vector<P2>& polygon, const std::vector<std::vector<int>>& parts) {
  for (const auto& part : parts) {
    Part placed;
    for (int i : part) {
      placed.corners.push_back(polygon[static_cast<std::size_t>(i)]);
      placed.box.add(placed.corners.back());
    }
    const int id = static_cast<int>(parts_.size());
    cells(placed.box, [&](std::int64_t cell) { grid_[cell].push_back(id); });
    parts_.push_back(std::move(placed));
    seen_.push_back(0);
  }
}

}  // namespace ostrel::net
