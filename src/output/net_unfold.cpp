#include "output/net_unfold.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <queue>
#include <tuple>

#include "output/net_overlap.h"

namespace ostrel {
namespace {

using net::Box;
using net::P2;
using net::P3;
using net::unit;

constexpr int kDirections = 64;

// Points spread evenly over the sphere (a Fibonacci spiral), the first at the top.
P3 direction(int k) {
  const double golden = 3.0 - std::sqrt(5.0);  // turn per step, in half turns
  const double z = 1.0 - 2.0 * (k + 0.5) / kDirections;
  const double r = std::sqrt(std::max(0.0, 1.0 - z * z));
  const double angle = 3.14159265358979323846 * golden * k;
  return {r * std::cos(angle), r * std::sin(angle), z};
}

struct Shapes {
  std::vector<std::vector<P2>> local;                 // each face in its own plane
  std::vector<std::vector<std::vector<int>>> parts;   // its convex parts
  std::vector<int> face_of_side;
};

class Grower {
 public:
  Grower(const NetSolid& solid, const Shapes& shapes, const PieceLimit& limit)
      : solid_(solid), faces_(solid.faces), shapes_(shapes), limit_(limit) {}

  Unfolding grow(P3 towards) {
    const int count = faces_.face_count();
    Unfolding out;
    out.placed.assign(faces_.corners.size(), P2{});
    out.piece.assign(static_cast<std::size_t>(count), -1);
    out.fold.assign(faces_.corners.size(), 0);
    std::vector<double> height(static_cast<std::size_t>(count));
    for (int f = 0; f < count; ++f) {
      P3 centre;
      for (int k = 0; k < faces_.sides(f); ++k) centre = centre + net::point(faces_, faces_.corner(f, k));
      height[static_cast<std::size_t>(f)] = dot(centre, towards) / faces_.sides(f);
    }
    std::vector<int> starts(static_cast<std::size_t>(count));
    std::iota(starts.begin(), starts.end(), 0);
    std::stable_sort(starts.begin(), starts.end(), [&](int a, int b) {
      return height[static_cast<std::size_t>(a)] < height[static_cast<std::size_t>(b)];
    });
    const double edge = solid_.mean_edge;
    for (int start : starts) {
      if (out.piece[static_cast<std::size_t>(start)] >= 0) continue;
      const int id = out.piece_count++;
      net::PaperIndex index(1.5 * edge, 1e-6 * edge);
      Box box;
      using Entry = std::tuple<double, int>;  // weight, side
      std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
      const auto put = [&](int f, const std::vector<P2>& corners) {
        out.piece[static_cast<std::size_t>(f)] = id;
        const int first = faces_.first_corner[static_cast<std::size_t>(f)];
        for (std::size_t k = 0; k < corners.size(); ++k) {
          out.placed[static_cast<std::size_t>(first) + k] = corners[k];
          box.add(corners[k]);
        }
        index.add(corners, shapes_.parts[static_cast<std::size_t>(f)]);
        for (int k = 0; k < faces_.sides(f); ++k) {
          const int side = first + k;
          const int mate = solid_.mate[static_cast<std::size_t>(side)];
          if (mate < 0) continue;
          if (out.piece[static_cast<std::size_t>(shapes_.face_of_side[static_cast<std::size_t>(mate)])] >= 0)
            continue;
          const P3 along = unit(net::point(faces_, faces_.corner(f, k + 1)) -
                                net::point(faces_, faces_.corner(f, k)));
          queue.emplace(std::abs(dot(along, towards)), side);
        }
      };
      put(start, shapes_.local[static_cast<std::size_t>(start)]);
      while (!queue.empty()) {
        const int side = std::get<1>(queue.top());
        queue.pop();
        const int mate = solid_.mate[static_cast<std::size_t>(side)];
        const int g = shapes_.face_of_side[static_cast<std::size_t>(mate)];
        if (out.piece[static_cast<std::size_t>(g)] >= 0) continue;
        const std::vector<P2> corners = fold_out(out, side, mate, g);
        Box grown = box;
        for (const P2& p : corners) grown.add(p);
        if (!fits(limit_, grown.width(), grown.height())) continue;
        if (index.overlaps(corners, shapes_.parts[static_cast<std::size_t>(g)])) continue;
        out.fold[static_cast<std::size_t>(side)] = out.fold[static_cast<std::size_t>(mate)] = 1;
        put(g, corners);
      }
    }
    close_slits(out);
    return out;
  }

 private:
  // An edge whose two sides lie on each other within one piece (a slit, where the faces came
  // together round a flat vertex) is folded too: cutting it would only mean gluing it back.
  void close_slits(Unfolding& out) const {
    const double eps = 1e-6 * solid_.mean_edge;
    const auto next = [&](int side) {
      const int f = shapes_.face_of_side[static_cast<std::size_t>(side)];
      const int first = faces_.first_corner[static_cast<std::size_t>(f)];
      return out.placed[static_cast<std::size_t>(first + (side - first + 1) % faces_.sides(f))];
    };
    for (int side = 0; side < static_cast<int>(faces_.corners.size()); ++side) {
      const int mate = solid_.mate[static_cast<std::size_t>(side)];
      if (mate < side || out.fold[static_cast<std::size_t>(side)]) continue;
      if (out.piece[static_cast<std::size_t>(shapes_.face_of_side[static_cast<std::size_t>(side)])] !=
          out.piece[static_cast<std::size_t>(shapes_.face_of_side[static_cast<std::size_t>(mate)])])
        continue;
      const P2 a = out.placed[static_cast<std::size_t>(side)], b = next(side);
      const P2 c = out.placed[static_cast<std::size_t>(mate)], d = next(mate);
      if (length(a - d) < eps && length(b - c) < eps) {
        out.fold[static_cast<std::size_t>(side)] = out.fold[static_cast<std::size_t>(mate)] = 1;
      }
    }
  }

  // Face g laid beside the placed face of `side`, sharing that side (its own side `mate`).
  std::vector<P2> fold_out(const Unfolding& out, int side, int mate, int g) const {
    const int f = shapes_.face_of_side[static_cast<std::size_t>(side)];
    const int f_first = faces_.first_corner[static_cast<std::size_t>(f)];
    const int next = f_first + (side - f_first + 1) % faces_.sides(f);
    const P2 a = out.placed[static_cast<std::size_t>(side)];
    const P2 b = out.placed[static_cast<std::size_t>(next)];
    const int point_a = faces_.corners[static_cast<std::size_t>(side)];
    const std::vector<P2>& local = shapes_.local[static_cast<std::size_t>(g)];
    const int j = mate - faces_.first_corner[static_cast<std::size_t>(g)];
    const std::size_t j1 = static_cast<std::size_t>((j + 1) % faces_.sides(g));
    const bool reversed = faces_.corners[static_cast<std::size_t>(mate)] != point_a;
    const P2 la = reversed ? local[j1] : local[static_cast<std::size_t>(j)];
    const P2 lb = reversed ? local[static_cast<std::size_t>(j)] : local[j1];
    const P2 u = (b - a) * (1.0 / std::max(length(b - a), 1e-300));
    const P2 v = (lb - la) * (1.0 / std::max(length(lb - la), 1e-300));
    const double c = dot(v, u), s = cross(v, u);
    std::vector<P2> corners;
    for (const P2& p : local) {
      const P2 d = p - la;
      corners.push_back(a + P2{c * d.x - s * d.y, s * d.x + c * d.y});
    }
    // The new face goes on the far side of the shared edge from the face it folds out of.
    const auto side_of = [&](const P2& p) { return cross(u, p - a); };
    double mine = 0, theirs = 0;
    for (const P2& p : corners) mine += side_of(p);
    for (int k = 0; k < faces_.sides(f); ++k) theirs += side_of(out.placed[static_cast<std::size_t>(f_first + k)]);
    if ((mine > 0) == (theirs > 0)) {
      for (P2& p : corners) {
        const P2 d = p - a;
        p = a + u * (2 * dot(u, d)) - d;
      }
    }
    return corners;
  }

  const NetSolid& solid_;
  const NetFaces& faces_;
  const Shapes& shapes_;
  PieceLimit limit_;
};

}  // namespace

bool fits(const PieceLimit& limit, double width, double height) {
  return (width <= limit.width && height <= limit.height) ||
         (width <= limit.height && height <= limit.width);
}

Unfolding unfold(const NetSolid& solid, const PieceLimit& limit) {
  const NetFaces& faces = solid.faces;
  Shapes shapes;
  shapes.face_of_side.assign(faces.corners.size(), 0);
  for (int f = 0; f < faces.face_count(); ++f) {
    shapes.local.push_back(net::face_in_plane(faces, f));
    shapes.parts.push_back(net::convex_parts(shapes.local.back()));
    for (int c = faces.first_corner[static_cast<std::size_t>(f)];
         c < faces.first_corner[static_cast<std::size_t>(f) + 1]; ++c) {
      shapes.face_of_side[static_cast<std::size_t>(c)] = f;
    }
  }
  Grower grower(solid, shapes, limit);
  Unfolding best;
  for (int k = 0; k < kDirections; ++k) {
    Unfolding tried = grower.grow(direction(k));
    if (k == 0 || tried.piece_count < best.piece_count) best = std::move(tried);
    if (best.piece_count <= 1) break;
  }
  return best;
}

}  // namespace ostrel
