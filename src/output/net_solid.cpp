#include "output/net_solid.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

#include "core/flag_letters.h"
#include "core/model.h"
#include "output/visible_faces.h"

namespace ostrel {
namespace net {

P3 point(const NetFaces& faces, int p) {
  const auto i = static_cast<std::size_t>(3 * p);
  return {faces.positions[i], faces.positions[i + 1], faces.positions[i + 2]};
}

P3 face_normal(const NetFaces& faces, int face) {
  P3 sum;
  const int n = faces.sides(face);
  for (int k = 0; k < n; ++k) {
    const P3 a = point(faces, faces.corner(face, k));
    const P3 b = point(faces, faces.corner(face, k + 1));
    sum = sum + P3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
  }
  return unit(sum);
}

std::vector<P2> face_in_plane(const NetFaces& faces, int face) {
  const P3 normal = face_normal(faces, face);
  const P3 origin = point(faces, faces.corner(face, 0));
  const P3 u = unit(point(faces, faces.corner(face, 1)) - origin);
  const P3 w = cross(normal, u);
  std::vector<P2> plane;
  for (int k = 0; k < faces.sides(face); ++k) {
    const P3 d = point(faces, faces.corner(face, k)) - origin;
    plane.push_back({dot(d, u), -dot(d, w)});
  }
  return plane;
}

}  // namespace net

using net::P2;
using net::P3;
using net::unit;

void NetFaces::add_face(const std::vector<int>& points, std::uint32_t colour, bool drawn_as_star) {
  corners.insert(corners.end(), points.begin(), points.end());
  first_corner.push_back(static_cast<int>(corners.size()));
  rgb.push_back(colour);
  star.push_back(drawn_as_star ? 1 : 0);
}

NetFaces net_faces(const Model& model, const VisibleFaces& visible) {
  NetFaces faces;
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    faces.positions.insert(faces.positions.end(),
                           {model.VertexX(v), model.VertexY(v), model.VertexZ(v)});
  }
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (has_letter(model.FaceFlags(f), 'B') || model.FaceSides(f) < 3) continue;
    std::vector<int> points;
    for (int k = 1; k <= model.FaceSides(f); ++k) {
      points.push_back(model.FaceVertices(f, k) - model.FirstVertex);
    }
    std::uint32_t colour = 0;
    for (int channel = 0; channel < 3; ++channel) {
      const float value = visible.face_rgba[4 * static_cast<std::size_t>(f) + channel];
      colour = colour << 8 |
               static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
    }
    const bool star = model.FaceStep(f) != 1 || has_letter(model.FaceFlags(f), 'n');
    faces.add_face(points, colour, star);
  }
  return faces;
}

namespace {

// Whether p lies inside `polygon`, further than `eps` from each of its sides.
bool strictly_inside(const std::vector<P2>& polygon, P2 p, double eps) {
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const P2 a = polygon[i], b = polygon[j];
    const P2 ab = b - a;
    const double t = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-300), 0.0, 1.0);
    if (length(p - (a + ab * t)) <= eps) return false;
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * ab.x / ab.y) inside = !inside;
  }
  return inside;
}

bool sides_cross(const std::vector<P2>& polygon, double eps) {
  const std::size_t n = polygon.size();
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (net::segments_cross(polygon[i], polygon[(i + 1) % n], polygon[j], polygon[(j + 1) % n],
                              eps))
        return true;
    }
  }
  return false;
}

double mean_side(const NetFaces& faces) {
  double sum = 0;
  for (int f = 0; f < faces.face_count(); ++f) {
    for (int k = 0; k < faces.sides(f); ++k) {
      sum +=
          length(net::point(faces, faces.corner(f, k + 1)) - net::point(faces, faces.corner(f, k)));
    }
  }
  return faces.corners.empty() ? 1.0 : sum / static_cast<double>(faces.corners.size());
}

// Whether a side of face a passes through the inside of face b.
bool pierces(const NetFaces& faces, int a, int b, const std::vector<P2>& b_plane, double eps) {
  const P3 normal = net::face_normal(faces, b);
  const P3 origin = net::point(faces, faces.corner(b, 0));
  const P3 u = unit(net::point(faces, faces.corner(b, 1)) - origin);
  const P3 w = cross(normal, u);
  for (int k = 0; k < faces.sides(a); ++k) {
    const P3 p = net::point(faces, faces.corner(a, k));
    const P3 q = net::point(faces, faces.corner(a, k + 1));
    const double sp = dot(p - origin, normal), sq = dot(q - origin, normal);
    if (!((sp > eps && sq < -eps) || (sp < -eps && sq > eps))) continue;
    const P3 x = p + (q - p) * (sp / (sp - sq));
    const P3 d = x - origin;
    if (strictly_inside(b_plane, {dot(d, u), -dot(d, w)}, eps)) return true;
  }
  return false;
}

// Where the inside of face a meets the plane of face b, as stretches of the line along
// `direction` in that plane (pairs of positions). False when a side of a lies in the plane: the
// faces then meet along that side and nowhere else.
bool stretches_on_plane(const NetFaces& faces, int a, int b, P3 direction, double eps,
                        std::vector<double>& stretches) {
  const P3 normal = net::face_normal(faces, b);
  const P3 origin = net::point(faces, faces.corner(b, 0));
  const int n = faces.sides(a);
  std::vector<double> height(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k)
    height[static_cast<std::size_t>(k)] =
        dot(net::point(faces, faces.corner(a, k)) - origin, normal);
  const auto h = [&](int k) { return height[static_cast<std::size_t>((k % n + n) % n)]; };
  const auto side = [&](double s) { return s > eps ? 1 : s < -eps ? -1 : 0; };
  std::vector<double> at;
  for (int k = 0; k < n; ++k) {
    const P3 p = net::point(faces, faces.corner(a, k));
    if (side(h(k)) == 0) {
      if (side(h(k + 1)) == 0) return false;
      if (side(h(k - 1)) * side(h(k + 1)) < 0) at.push_back(dot(p, direction));
    } else if (side(h(k)) * side(h(k + 1)) < 0) {
      const P3 q = net::point(faces, faces.corner(a, k + 1));
      at.push_back(dot(p + (q - p) * (h(k) / (h(k) - h(k + 1))), direction));
    }
  }
  std::sort(at.begin(), at.end());
  stretches.assign(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(at.size() / 2 * 2));
  return true;
}

// Whether the insides of faces a and b meet along a stretch of the line where their planes cut.
bool insides_meet(const NetFaces& faces, int a, int b, double eps) {
  const P3 across = cross(net::face_normal(faces, a), net::face_normal(faces, b));
  if (length(across) < 1e-9) return false;
  const P3 direction = unit(across);
  std::vector<double> in_a, in_b;
  if (!stretches_on_plane(faces, a, b, direction, eps, in_a) ||
      !stretches_on_plane(faces, b, a, direction, eps, in_b))
    return false;
  for (std::size_t i = 0; i + 1 < in_a.size(); i += 2) {
    for (std::size_t j = 0; j + 1 < in_b.size(); j += 2) {
      if (std::min(in_a[i + 1], in_b[j + 1]) - std::max(in_a[i], in_b[j]) > eps) return true;
    }
  }
  return false;
}

}  // namespace

std::string crossing_faces_problem(const NetFaces& faces) {
  const int count = faces.face_count();
  const double eps = 1e-6 * mean_side(faces);
  std::vector<std::vector<P2>> planes(static_cast<std::size_t>(count));
  for (int f = 0; f < count; ++f) {
    if (faces.star[static_cast<std::size_t>(f)]) return kCrossingFacesMessage;
    if (length(net::face_normal(faces, f)) < 0.5) return kCrossingFacesMessage;  // no area
    planes[static_cast<std::size_t>(f)] = net::face_in_plane(faces, f);
    if (sides_cross(planes[static_cast<std::size_t>(f)], eps)) return kCrossingFacesMessage;
  }
  // Pairs of faces whose boxes meet, found by sweeping along the model's longest extent.
  std::vector<std::pair<P3, P3>> boxes;
  for (int f = 0; f < count; ++f) {
    P3 low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
    for (int k = 0; k < faces.sides(f); ++k) {
      const P3 p = net::point(faces, faces.corner(f, k));
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    boxes.emplace_back(low, high);
  }
  P3 low_all{1e300, 1e300, 1e300}, high_all{-1e300, -1e300, -1e300};
  for (const auto& [low, high] : boxes) {
    low_all = {std::min(low_all.x, low.x), std::min(low_all.y, low.y), std::min(low_all.z, low.z)};
    high_all = {std::max(high_all.x, high.x), std::max(high_all.y, high.y),
                std::max(high_all.z, high.z)};
  }
  const P3 extent = high_all - low_all;
  // Turn the boxes so that their x runs along the longest extent.
  const auto turn = [&](P3 p) {
    if (extent.z >= extent.x && extent.z >= extent.y) return P3{p.z, p.x, p.y};
    if (extent.y >= extent.x) return P3{p.y, p.z, p.x};
    return p;
  };
  for (auto& [low, high] : boxes) low = turn(low), high = turn(high);
  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return boxes[static_cast<std::size_t>(a)].first.x < boxes[static_cast<std::size_t>(b)].first.x;
  });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto& [low, high] = boxes[static_cast<std::size_t>(order[i])];
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      const auto& [other_low, other_high] = boxes[static_cast<std::size_t>(order[j])];
      if (other_low.x > high.x + eps) break;
      if (other_low.y > high.y + eps || low.y > other_high.y + eps || other_low.z > high.z + eps ||
          low.z > other_high.z + eps)
        continue;
      const int a = order[i], b = order[j];
      if (pierces(faces, a, b, planes[static_cast<std::size_t>(b)], eps) ||
          pierces(faces, b, a, planes[static_cast<std::size_t>(a)], eps) ||
          insides_meet(faces, a, b, eps))
        return kCrossingFacesMessage;
    }
  }
  return {};
}

namespace {

using EdgeSides = std::map<std::pair<int, int>, std::vector<int>>;

EdgeSides sides_by_edge(const NetFaces& faces, std::vector<int>& face_of_side) {
  EdgeSides edges;
  face_of_side.assign(faces.corners.size(), 0);
  for (int f = 0; f < faces.face_count(); ++f) {
    for (int k = 0; k < faces.sides(f); ++k) {
      const int a = faces.corner(f, k), b = faces.corner(f, k + 1);
      const int side = faces.first_corner[static_cast<std::size_t>(f)] + k;
      face_of_side[static_cast<std::size_t>(side)] = f;
      edges[{std::min(a, b), std::max(a, b)}].push_back(side);
    }
  }
  return edges;
}

// Turns faces so that the two faces of each edge run along it in opposite directions, where the
// surface allows, then each connected piece of a closed surface so that it encloses a positive
// volume (its faces turn counterclockwise seen from outside).
void turn_faces(NetFaces& faces) {
  std::vector<int> face_of_side;
  const EdgeSides edges = sides_by_edge(faces, face_of_side);
  const int count = faces.face_count();
  std::vector<int> piece(static_cast<std::size_t>(count), -1);
  std::vector<char> flip(static_cast<std::size_t>(count), 0);
  std::vector<char> closed;
  std::vector<double> volume;
  const auto from = [&](int side) { return faces.corners[static_cast<std::size_t>(side)]; };
  for (int start = 0; start < count; ++start) {
    if (piece[static_cast<std::size_t>(start)] >= 0) continue;
    const int id = static_cast<int>(closed.size());
    closed.push_back(1);
    volume.push_back(0);
    std::vector<int> queue{start};
    piece[static_cast<std::size_t>(start)] = id;
    for (std::size_t next = 0; next < queue.size(); ++next) {
      const int f = queue[next];
      for (int k = 0; k < faces.sides(f); ++k) {
        const int a = faces.corner(f, k), b = faces.corner(f, k + 1);
        const auto& shared = edges.at({std::min(a, b), std::max(a, b)});
        if (shared.size() != 2) closed.back() = 0;
        if (shared.size() != 2) continue;
        const int side = faces.first_corner[static_cast<std::size_t>(f)] + k;
        const int other = shared[0] == side ? shared[1] : shared[0];
        const int g = face_of_side[static_cast<std::size_t>(other)];
        if (piece[static_cast<std::size_t>(g)] >= 0) continue;
        const bool same_way = from(other) == a;
        flip[static_cast<std::size_t>(g)] =
            static_cast<char>(flip[static_cast<std::size_t>(f)] ^ same_way);
        piece[static_cast<std::size_t>(g)] = id;
        queue.push_back(g);
      }
    }
  }
  for (int f = 0; f < count; ++f) {
    const P3 origin = net::point(faces, faces.corner(f, 0));
    double six = 0;
    for (int k = 1; k + 1 < faces.sides(f); ++k) {
      six += dot(origin, cross(net::point(faces, faces.corner(f, k)),
                               net::point(faces, faces.corner(f, k + 1))));
    }
    volume[static_cast<std::size_t>(piece[static_cast<std::size_t>(f)])] +=
        flip[static_cast<std::size_t>(f)] ? -six : six;
  }
  for (int f = 0; f < count; ++f) {
    const auto id = static_cast<std::size_t>(piece[static_cast<std::size_t>(f)]);
    const bool reverse = flip[static_cast<std::size_t>(f)] != (closed[id] && volume[id] < 0);
    if (!reverse) continue;
    auto begin = faces.corners.begin() + faces.first_corner[static_cast<std::size_t>(f)];
    auto end = faces.corners.begin() + faces.first_corner[static_cast<std::size_t>(f) + 1];
    std::reverse(begin, end);
  }
}

}  // namespace

NetSolid net_solid(NetFaces faces) {
  NetSolid solid;
  turn_faces(faces);
  solid.faces = std::move(faces);
  const NetFaces& f = solid.faces;
  solid.mean_edge = mean_side(f);
  std::vector<int> face_of_side;
  const EdgeSides edges = sides_by_edge(f, face_of_side);
  solid.mate.assign(f.corners.size(), -1);
  solid.valley.assign(f.corners.size(), 0);
  const double eps = 1e-6 * solid.mean_edge;
  for (const auto& [ends, shared] : edges) {
    if (shared.size() != 2) continue;
    for (int i = 0; i < 2; ++i) {
      const int side = shared[static_cast<std::size_t>(i)];
      const int other = shared[static_cast<std::size_t>(1 - i)];
      solid.mate[static_cast<std::size_t>(side)] = other;
      // The edge is reflex when the other face's centre stands out of this face's outer side.
      const int face = face_of_side[static_cast<std::size_t>(side)];
      const int neighbour = face_of_side[static_cast<std::size_t>(other)];
      P3 centre;
      for (int k = 0; k < f.sides(neighbour); ++k)
        centre = centre + net::point(f, f.corner(neighbour, k));
      centre = centre * (1.0 / f.sides(neighbour));
      const P3 on_edge = net::point(f, f.corners[static_cast<std::size_t>(side)]);
      solid.valley[static_cast<std::size_t>(side)] =
          dot(centre - on_edge, net::face_normal(f, face)) > eps ? 1 : 0;
    }
  }
  return solid;
}

}  // namespace ostrel
