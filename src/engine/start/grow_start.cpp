#include "engine/start/grow_start.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/vec3.h"
#include "engine/start/flat_positions.h"
#include "engine/start/sparse_solve.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
// A layer is settled below this cost; the whole model below kSettled.
constexpr double kLayerSettled = 1e-20;
constexpr double kSettled = 1e-16;
// Unrelated vertices nearer than this (squared) coincide, as the isomorph test counts them.
constexpr double kCoincident = 1e-7;
// The layers that placed vertices whose vertices a layer's solve may move: its own and the one
// before, so that a new band can still turn the ring it hangs on.
constexpr std::size_t kWindow = 2;
// A tube grown ring by ring from one end is nearly free to warp at its open end: a ring's
// smallest unevenness comes back some three times larger in the next ring (of ten vertices),
// so that rounding alone would crumple it within thirty rings. Every kEvery layers that place
// vertices, the whole placed part settles together with each open end wished, with the weight
// kWish, to be a regular polygon, which takes the warp out while it is still tiny.
constexpr std::size_t kEvery = 8;
constexpr double kWish = 1e-2;

struct GrowFace {
  int offset = 0;  // into corners_
  int sides = 0;
  int step = 1;
};

Vec3 unit(const Vec3& v) {
  const double l = length(v);
  return l > 0.0 ? v * (1.0 / l) : Vec3{1.0, 0.0, 0.0};
}

// A unit vector at right angles to u.
Vec3 perpendicular(const Vec3& u) {
  const Vec3 axis = std::fabs(u.x) < 0.6 ? Vec3{1.0, 0.0, 0.0} : Vec3{0.0, 1.0, 0.0};
  return unit(cross(u, axis));
}

std::uint64_t edge_key(int a, int b) {
  return (static_cast<std::uint64_t>(std::min(a, b)) << 32) |
         static_cast<std::uint32_t>(std::max(a, b));
}

class Grower {
 public:
  Grower(Model& model, const std::vector<FixedDistance>& pairs, Random& random,
         const CancelCheck* cancel, std::atomic<double>* shown_cost)
      : model_(model), random_(random), cancel_(cancel), shown_cost_(shown_cost) {
    first_ = std::max(model.FirstVertex, 0);
    n_ = std::max(model.LastVertex - first_ + 1, 0);
    x_ = gather_positions(model, first_, n_);
    for (const FixedDistance& pair : pairs) {
      targets_.push_back({edge_key(pair.a - first_, pair.b - first_), pair.target});
      all_.distances.push_back({pair.a - first_, pair.b - first_, pair.target});
    }
    std::sort(targets_.begin(), targets_.end());
    related_.assign(static_cast<std::size_t>(n_), {});
    for (const ShapeTerms::Distance& d : all_.distances) relate(d.a, d.b);
    for (int f = 1; f <= model.FaceCount; ++f) {
      const int sides = model.FaceSides(f);
      bool inside = sides >= 3;
      for (int k = 1; k <= sides; ++k) {
        const int v = model.FaceVertices(f, k);
        inside = inside && v >= first_ && v < first_ + n_;
      }
      if (!inside) continue;
      const GrowFace face{static_cast<int>(corners_.size()), sides,
                          std::clamp(model.FaceStep(f), 1, sides - 1)};
      for (int k = 1; k <= sides; ++k) corners_.push_back(model.FaceVertices(f, k) - first_);
      for (int k = 0; k < sides; ++k) {
        for (int l = k + 1; l < sides; ++l) relate(corner(face, k), corner(face, l));
      }
      const int index = static_cast<int>(faces_.size());
      faces_.push_back(face);
      for (int k = 0; k < sides; ++k) {
        edge_faces_.emplace_back(edge_key(corner(face, k), corner(face, k + face.step)), index);
      }
      if (sides >= 4 && model.FaceFlags(f).find_first_of("nNDdq") == std::string::npos) {
        all_.faces.push_back({face.offset, sides});
      }
    }
    all_.corners = corners_;
    std::sort(edge_faces_.begin(), edge_faces_.end());
    for (auto& list : related_) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
  }

  GrowStartResult run(bool guard) {
    GrowStartResult result;
    guard_ = guard;
    const std::size_t count = faces_.size();
    if (count == 0) return result;
    placed_.assign(static_cast<std::size_t>(n_), 0);
    generation_.assign(static_cast<std::size_t>(n_), -1);
    visited_.assign(count, 0);
    orient_.assign(count, 1);
    bend_ = 0.1 + 0.4 * random_.uniform();
    bool first_part = true;
    while (true) {
      // The first face of a part: one of the unplaced faces with the most corners.
      std::vector<int> largest;
      for (std::size_t f = 0; f < count; ++f) {
        if (visited_[f]) continue;
        if (!largest.empty() &&
            faces_[f].sides < faces_[static_cast<std::size_t>(largest[0])].sides)
          continue;
        if (!largest.empty() &&
            faces_[f].sides > faces_[static_cast<std::size_t>(largest[0])].sides)
          largest.clear();
        largest.push_back(static_cast<int>(f));
      }
      if (largest.empty()) break;
      const auto pick =
          static_cast<std::size_t>(random_.uniform() * static_cast<double>(largest.size()));
      const int root = largest[std::min(pick, largest.size() - 1)];
      place_root(root, first_part);
      first_part = false;
      if (!grow_part(root, result)) {
        store();
        return result;
      }
    }
    // Every layer settled on its own; the whole settles together.
    std::vector<char> free(placed_);
    result.cost = cost_of_placed();
    if (result.cost > 1e-28 && !stopped()) {
      const SparseSolveResult solved = solve(free);
      result.cost = solved.cost;
    }
    result.folded = guard_ && folded(free);
    result.settled = !stopped() && result.cost <= kSettled && !result.folded;
    store();
    return result;
  }

 private:
  int corner(const GrowFace& face, int k) const {
    return corners_[static_cast<std::size_t>(face.offset +
                                             (k % face.sides + face.sides) % face.sides)];
  }
  Vec3 at(int v) const { return {x_[3 * v], x_[3 * v + 1], x_[3 * v + 2]}; }
  void set(int v, const Vec3& p) {
    x_[3 * v] = p.x;
    x_[3 * v + 1] = p.y;
    x_[3 * v + 2] = p.z;
  }
  void relate(int a, int b) {
    related_[static_cast<std::size_t>(a)].push_back(b);
    related_[static_cast<std::size_t>(b)].push_back(a);
  }
  bool related(int a, int b) const {
    const auto& list = related_[static_cast<std::size_t>(a)];
    return std::binary_search(list.begin(), list.end(), b);
  }
  bool stopped() const { return cancel_ && cancel_->stopped(); }

  // The target of the distance a-b, or 1 when the model fixes none.
  double target(int a, int b) const {
    const std::uint64_t key = edge_key(a, b);
    const auto found = std::lower_bound(targets_.begin(), targets_.end(),
                                        std::pair<std::uint64_t, double>{key, -1e300});
    return found != targets_.end() && found->first == key ? found->second : 1.0;
  }

  // The radius of face f's regular polygon whose edge a-b has its target.
  double radius(const GrowFace& face, int a, int b) const {
    return target(a, b) / (2.0 * std::sin(kPi * face.step / face.sides));
  }

  // The first face of a part, regular, in a random turn; a later part stands beside the others.
  void place_root(int root, bool first_part) {
    const GrowFace& face = faces_[static_cast<std::size_t>(root)];
    const Vec3 e1 = unit({2.0 * random_.uniform() - 1.0, 2.0 * random_.uniform() - 1.0,
                          2.0 * random_.uniform() - 1.0});
    const Vec3 side = perpendicular(e1);
    const double turn = 2.0 * kPi * random_.uniform();
    const Vec3 e2 = side * std::cos(turn) + cross(e1, side) * std::sin(turn);
    orient_[static_cast<std::size_t>(root)] = random_.uniform() < 0.5 ? 1 : -1;
    Vec3 centre{};
    if (!first_part) {
      double reach = 0.0;
      for (int v = 0; v < n_; ++v) {
        if (placed_[static_cast<std::size_t>(v)]) reach = std::max(reach, length(at(v)));
      }
      centre = Vec3{reach + 2.0, 0.0, 0.0};
    }
    const double r = radius(face, corner(face, 0), corner(face, face.step));
    for (int k = 0; k < face.sides; ++k) {
      const int v = corner(face, k);
      if (placed_[static_cast<std::size_t>(v)]) continue;
      const double angle = 2.0 * kPi * k / face.sides;
      set(v, centre + e1 * (r * std::cos(angle)) + e2 * (r * std::sin(angle)));
      placed_[static_cast<std::size_t>(v)] = 1;
      generation_[static_cast<std::size_t>(v)] = layer_;
    }
    visited_[static_cast<std::size_t>(root)] = 1;
  }

  // Position k of the edge a-b in the face's outline (a = corner k, b = corner k + step), and
  // +1, or −1 when b comes first.
  std::pair<int, int> edge_place(const GrowFace& face, int a, int b) const {
    for (int k = 0; k < face.sides; ++k) {
      const int p = corner(face, k);
      const int q = corner(face, k + face.step);
      if (p == a && q == b) return {k, 1};
      if (p == b && q == a) return {k, -1};
    }
    return {0, 1};
  }

  Vec3 normal(const GrowFace& face) const {
    Vec3 sum{};
    for (int k = 0; k < face.sides; ++k)
      sum = sum + cross(at(corner(face, k)), at(corner(face, k + 1)));
    return unit(sum);
  }
  Vec3 centroid(const GrowFace& face) const {
    Vec3 sum{};
    for (int k = 0; k < face.sides; ++k) sum = sum + at(corner(face, k));
    return sum * (1.0 / face.sides);
  }

  // Unfolds face f from its placed neighbour g across their edge a-b: a regular polygon on
  // the far side of the edge, bent towards the inside of g. Only unplaced corners move; returns
  // whether any was placed.
  bool place_face(int f, int g, int a, int b) {
    const GrowFace& face = faces_[static_cast<std::size_t>(f)];
    const GrowFace& parent = faces_[static_cast<std::size_t>(g)];
    const auto [k, direction] = edge_place(face, a, b);
    const int direction_g = edge_place(parent, a, b).second;
    orient_[static_cast<std::size_t>(f)] =
        orient_[static_cast<std::size_t>(g)] * (direction == direction_g ? -1 : 1);
    const int p = corner(face, k);
    const int q = corner(face, k + face.step);
    const Vec3 from = at(p);
    const Vec3 to = at(q);
    const Vec3 e1 = unit(to - from);
    const Vec3 middle = (from + to) * 0.5;
    Vec3 away = middle - centroid(parent);
    away = away - e1 * dot(away, e1);
    Vec3 outward = normal(parent) * orient_[static_cast<std::size_t>(g)];
    outward = unit(outward - e1 * dot(outward, e1));
    away = length(away) > 1e-12 ? unit(away) : unit(cross(outward, e1));
    Vec3 e2 = away * std::cos(bend_) - outward * std::sin(bend_);
    e2 = unit(e2 - e1 * dot(e2, e1));
    const double r = radius(face, p, q);
    const double half = 0.5 * length(to - from);
    const double h = std::sqrt(std::max(r * r - half * half, 0.0));
    const Vec3 centre = middle + e2 * h;
    const double start = std::atan2(-h, -half);
    bool any = false;
    for (int j = 0; j < face.sides; ++j) {
      const int v = corner(face, k + j);
      if (placed_[static_cast<std::size_t>(v)]) continue;
      const double angle = start + 2.0 * kPi * j / face.sides;
      set(v, centre + e1 * (r * std::cos(angle)) + e2 * (r * std::sin(angle)));
      placed_[static_cast<std::size_t>(v)] = 1;
      generation_[static_cast<std::size_t>(v)] = layer_;
      any = true;
    }
    return any;
  }

  // Breadth-first from the root over shared edges, layer by layer. False when given up.
  bool grow_part(int root, GrowStartResult& result) {
    std::vector<int> layer{root};
    std::vector<int> next;
    placing_.push_back(layer_);
    while (!layer.empty()) {
      if (stopped()) return false;
      ++layer_;
      ++result.layers;
      next.clear();
      bool placed_any = false;
      for (int f : layer) {
        const GrowFace& face = faces_[static_cast<std::size_t>(f)];
        for (int k = 0; k < face.sides; ++k) {
          const int a = corner(face, k);
          const int b = corner(face, k + face.step);
          const auto range =
              std::equal_range(edge_faces_.begin(), edge_faces_.end(),
                               std::pair<std::uint64_t, int>{edge_key(a, b), -1},
                               [](const auto& x, const auto& y) { return x.first < y.first; });
          for (auto it = range.first; it != range.second; ++it) {
            const int h = it->second;
            if (visited_[static_cast<std::size_t>(h)]) continue;
            if (stopped()) return false;
            visited_[static_cast<std::size_t>(h)] = 1;
            if (place_face(h, f, a, b)) placed_any = true;
            next.push_back(h);
          }
        }
      }
      layer.swap(next);
      if (!placed_any) continue;
      placing_.push_back(layer_);
      const int oldest = placing_.size() > kWindow ? placing_[placing_.size() - kWindow] : -1;
      std::vector<char> free(static_cast<std::size_t>(n_), 0);
      for (int v = 0; v < n_; ++v) {
        free[static_cast<std::size_t>(v)] = placed_[static_cast<std::size_t>(v)] &&
                                            generation_[static_cast<std::size_t>(v)] >= oldest;
      }
      double cost = solve(free).cost;
      ++result.solves;
      if (cost > kLayerSettled && !stopped()) {
        // The new layer cannot close on the vertices before it: let every placed vertex move.
        free = placed_;
        cost = solve(free).cost;
        ++result.solves;
      }
      if (cost <= kLayerSettled && !stopped() && placing_.size() % kEvery == 0) {
        const ShapeTerms wish = open_ends();
        if (!wish.faces.empty()) {
          // The wish bends the distances a little: they settle again, everything free.
          solve(placed_, &wish);
          free = placed_;
          cost = solve(free).cost;
          result.solves += 2;
        }
      }
      result.cost = cost;
      if (stopped() || cost > kLayerSettled) return false;
      if (guard_ && folded(free)) {
        result.folded = true;
        return false;
      }
    }
    return true;
  }

  // The boundary cycles of the complete faces (those with every corner placed) as soft
  // regular faces: each edge of exactly one complete face that has a face beyond it not yet
  // complete, walked into cycles where every such vertex has two such edges.
  ShapeTerms open_ends() const {
    std::vector<std::uint64_t> edges;  // the edges of the complete faces, once per face
    for (const GrowFace& face : faces_) {
      bool complete = true;
      for (int k = 0; k < face.sides; ++k)
        complete = complete && placed_[static_cast<std::size_t>(corner(face, k))];
      if (!complete) continue;
      for (int k = 0; k < face.sides; ++k)
        edges.push_back(edge_key(corner(face, k), corner(face, k + face.step)));
    }
    std::sort(edges.begin(), edges.end());
    std::vector<std::vector<int>> next(static_cast<std::size_t>(n_));
    for (std::size_t k = 0; k < edges.size();) {
      std::size_t end = k;
      while (end < edges.size() && edges[end] == edges[k]) ++end;
      const auto range = std::equal_range(
          edge_faces_.begin(), edge_faces_.end(), std::pair<std::uint64_t, int>{edges[k], -1},
          [](const auto& x, const auto& y) { return x.first < y.first; });
      if (end - k == 1 && range.second - range.first >= 2) {
        const int a = static_cast<int>(edges[k] >> 32);
        const int b = static_cast<int>(edges[k] & 0xFFFFFFFFu);
        next[static_cast<std::size_t>(a)].push_back(b);
        next[static_cast<std::size_t>(b)].push_back(a);
      }
      k = end;
    }
    ShapeTerms wish;
    std::vector<char> seen(static_cast<std::size_t>(n_), 0);
    for (int v = 0; v < n_; ++v) {
      if (seen[static_cast<std::size_t>(v)] || next[static_cast<std::size_t>(v)].size() != 2)
        continue;
      std::vector<int> cycle{v};
      seen[static_cast<std::size_t>(v)] = 1;
      int previous = v;
      int at_vertex = next[static_cast<std::size_t>(v)][0];
      bool closed = false;
      while (next[static_cast<std::size_t>(at_vertex)].size() == 2) {
        if (at_vertex == v) {
          closed = true;
          break;
        }
        if (seen[static_cast<std::size_t>(at_vertex)]) break;
        seen[static_cast<std::size_t>(at_vertex)] = 1;
        cycle.push_back(at_vertex);
        const auto& two = next[static_cast<std::size_t>(at_vertex)];
        const int step = two[0] == previous ? two[1] : two[0];
        previous = at_vertex;
        at_vertex = step;
      }
      if (!closed || cycle.size() < 3) continue;
      wish.faces.push_back(
          {static_cast<int>(wish.corners.size()), static_cast<int>(cycle.size()), kWish});
      wish.corners.insert(wish.corners.end(), cycle.begin(), cycle.end());
    }
    return wish;
  }

  // The terms among placed vertices (and the wished faces), settled over the free vertices.
  SparseSolveResult solve(const std::vector<char>& free, const ShapeTerms* wish = nullptr) {
    ShapeTerms terms;
    for (const ShapeTerms::Distance& d : all_.distances) {
      if (placed_[static_cast<std::size_t>(d.a)] && placed_[static_cast<std::size_t>(d.b)])
        terms.distances.push_back(d);
    }
    for (const ShapeTerms::Face& face : all_.faces) {
      bool whole = true;
      for (int k = 0; k < face.sides; ++k) {
        whole =
            whole &&
            placed_[static_cast<std::size_t>(corners_[static_cast<std::size_t>(face.offset + k)])];
      }
      if (whole) terms.faces.push_back(face);
    }
    terms.corners = corners_;
    if (wish) {
      for (ShapeTerms::Face face : wish->faces) {
        face.offset += static_cast<int>(terms.corners.size());
        terms.faces.push_back(face);
      }
      terms.corners.insert(terms.corners.end(), wish->corners.begin(), wish->corners.end());
    }
    return sparse_solve(x_, free, terms, cancel_, 100, shown_cost_);
  }

  double cost_of_placed() const {
    ShapeTerms terms;
    for (const ShapeTerms::Distance& d : all_.distances) {
      if (placed_[static_cast<std::size_t>(d.a)] && placed_[static_cast<std::size_t>(d.b)])
        terms.distances.push_back(d);
    }
    terms.faces = all_.faces;  // a face with an unplaced corner has none: every corner is placed
    terms.corners = corners_;
    return shape_cost(x_, terms);
  }

  // Whether a free vertex stands on a placed vertex it shares no face or distance with. The
  // placed vertices are sorted by x, so each free one is compared only with those of about its x.
  bool folded(const std::vector<char>& free) const {
    const double reach = std::sqrt(kCoincident);
    std::vector<int> order;
    for (int v = 0; v < n_; ++v) {
      if (placed_[static_cast<std::size_t>(v)]) order.push_back(v);
    }
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return x_[3 * a] != x_[3 * b] ? x_[3 * a] < x_[3 * b] : a < b; });
    for (std::size_t k = 0; k < order.size(); ++k) {
      const int v = order[k];
      if (!free[static_cast<std::size_t>(v)]) continue;
      const Vec3 p = at(v);
      // Both directions: a free vertex may meet a fixed one on either side.
      for (std::size_t j = k + 1; j < order.size() && x_[3 * order[j]] - p.x <= reach; ++j) {
        const Vec3 d = p - at(order[j]);
        if (dot(d, d) < kCoincident && !related(v, order[j])) return true;
      }
      for (std::size_t j = k; j-- > 0 && p.x - x_[3 * order[j]] <= reach;) {
        const Vec3 d = p - at(order[j]);
        if (dot(d, d) < kCoincident && !related(v, order[j])) return true;
      }
    }
    return false;
  }

  void store() {
    for (int i = 0; i < n_; ++i) {
      if (!placed_.empty() && !placed_[static_cast<std::size_t>(i)]) continue;
      const int v = first_ + i;
      model_.VertexX(v) = x_[3 * i];
      model_.VertexY(v) = x_[3 * i + 1];
      model_.VertexZ(v) = x_[3 * i + 2];
    }
  }

  Model& model_;
  Random& random_;
  const CancelCheck* cancel_;
  std::atomic<double>* shown_cost_;
  bool guard_ = true;
  int first_ = 0;
  int n_ = 0;
  std::vector<double> x_;
  std::vector<std::pair<std::uint64_t, double>> targets_;  // by pair key
  std::vector<std::vector<int>> related_;                  // sharing a face or a distance
  std::vector<GrowFace> faces_;
  std::vector<int> corners_;                               // vertex indices, outline order
  std::vector<std::pair<std::uint64_t, int>> edge_faces_;  // (edge key, face), sorted
  ShapeTerms all_;
  std::vector<char> placed_, visited_;
  std::vector<int> generation_, orient_, placing_;
  int layer_ = 0;
  double bend_ = 0.3;
};

}  // namespace

GrowStartResult grow_start(Model& model, const std::vector<FixedDistance>& pairs, Random& random,
                           const CancelCheck* cancel, std::atomic<double>* shown_cost, bool guard) {
  Grower grower(model, pairs, random, cancel, shown_cost);
  return grower.run(guard);
}

}  // namespace ostrel
