#include "output/visible_faces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string_view>

#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "output/vrml_colours.h"
#include "output/vrml_geometry.h"

namespace ostrel {
namespace {

using Point = Vec3;

Point minus(const Point& a, const Point& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Two directions u, v across a face's best-fit plane (Newell's normal n of its corner cycle),
// with u × v = n: corners that run counterclockwise in (u, v) run the way the face does.
struct Plane {
  Point centre;
  Point u, v;
  bool valid = false;

  std::array<double, 2> flat(const Point& p) const {
    const Point d = minus(p, centre);
    return {dot(d, u), dot(d, v)};
  }
  Point lift(double a, double b) const {
    return {centre.x + a * u.x + b * v.x, centre.y + a * u.y + b * v.y,
            centre.z + a * u.z + b * v.z};
  }
};

Plane best_fit_plane(const std::vector<Point>& corners) {
  Plane plane;
  const std::size_t n = corners.size();
  if (n < 3) return plane;
  Point normal;
  for (std::size_t k = 0; k < n; ++k) {
    const Point& p = corners[k];
    const Point& q = corners[(k + 1) % n];
    plane.centre = {plane.centre.x + p.x / static_cast<double>(n),
                    plane.centre.y + p.y / static_cast<double>(n),
                    plane.centre.z + p.z / static_cast<double>(n)};
    normal = {normal.x + (p.y - q.y) * (p.z + q.z), normal.y + (p.z - q.z) * (p.x + q.x),
              normal.z + (p.x - q.x) * (p.y + q.y)};
  }
  const double length = std::sqrt(dot(normal, normal));
  if (!(length > 1e-12)) return plane;
  normal = {normal.x / length, normal.y / length, normal.z / length};
  const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
  const Point axis = ax <= ay && ax <= az ? Point{1, 0, 0}
                     : ay <= az           ? Point{0, 1, 0}
                                          : Point{0, 0, 1};
  plane.u = cross(normal, axis);
  const double u_length = std::sqrt(dot(plane.u, plane.u));
  plane.u = {plane.u.x / u_length, plane.u.y / u_length, plane.u.z / u_length};
  plane.v = cross(normal, plane.u);
  plane.valid = true;
  return plane;
}

double turn(const std::array<double, 2>& a, const std::array<double, 2>& b,
            const std::array<double, 2>& c) {
  return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

// Whether p lies inside or on the counterclockwise triangle a, b, c.
bool inside(const std::array<double, 2>& p, const std::array<double, 2>& a,
            const std::array<double, 2>& b, const std::array<double, 2>& c) {
  return turn(a, b, p) >= 0 && turn(b, c, p) >= 0 && turn(c, a, p) >= 0;
}

class Builder {
 public:
  Builder(const Model& model, VisibleFaces& out) : model_(model), out_(out) {}

  std::uint32_t point_of_vertex(int v) const {
    return static_cast<std::uint32_t>(v - model_.FirstVertex);
  }

  std::uint32_t add_point(const Point& p) {
    out_.positions.insert(out_.positions.end(), {p.x, p.y, p.z});
    return static_cast<std::uint32_t>(out_.positions.size() / 3 - 1);
  }

  void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, int face) {
    out_.triangles.insert(out_.triangles.end(), {a, b, c});
    out_.triangle_faces.push_back(face);
  }

  // The points of a face's corners and their positions, corner 1 first.
  void corners_of(int face, std::vector<std::uint32_t>& points, std::vector<Point>& corners) {
    for (int k = 1; k <= model_.FaceSides(face); ++k) {
      const int v = model_.FaceVertices(face, k);
      points.push_back(point_of_vertex(v));
      corners.push_back(vertex_point(model_, v));
    }
  }

  // n − 2 triangles by ear clipping: at each step the first ear after the first corner left.
  void ordinary(int face) {
    std::vector<std::uint32_t> points;
    std::vector<Point> corners;
    corners_of(face, points, corners);
    std::vector<std::size_t> left(points.size());
    std::iota(left.begin(), left.end(), std::size_t{0});
    const Plane plane = best_fit_plane(corners);
    if (plane.valid) {
      std::vector<std::array<double, 2>> flat;
      for (const Point& p : corners) flat.push_back(plane.flat(p));
      while (left.size() > 3) {
        const std::size_t m = left.size();
        bool clipped = false;
        for (std::size_t i = 1; i <= m && !clipped; ++i) {
          const std::size_t a = left[i - 1], b = left[i % m], c = left[(i + 1) % m];
          if (!(turn(flat[a], flat[b], flat[c]) > 0)) continue;
          bool ear = true;
          for (std::size_t other : left) {
            if (other != a && other != b && other != c &&
                inside(flat[other], flat[a], flat[b], flat[c])) {
              ear = false;
              break;
            }
          }
          if (!ear) continue;
          triangle(points[a], points[b], points[c], face);
          left.erase(left.begin() + static_cast<std::ptrdiff_t>(i % m));
          clipped = true;
        }
        if (!clipped) break;  // a degenerate outline: the rest as a fan
      }
    }
    for (std::size_t k = 1; k + 1 < left.size(); ++k) {
      triangle(points[left[0]], points[left[k]], points[left[k + 1]], face);
    }
  }

  // The region the VRML spikes (centre, corner k, corner k + d) cover, without overlaps.
  void star(int face) {
    const int n = model_.FaceSides(face);
    const int d = std::max(model_.FaceStep(face), 1);
    const int m = std::min(d, n - d);
    std::vector<std::uint32_t> points;
    std::vector<Point> corners;
    corners_of(face, points, corners);
    const auto corner = [&](int k) { return static_cast<std::size_t>(((k % n) + n) % n); };
    const std::uint32_t centre = add_point(face_centre_point(model_, face));
    const Plane plane = best_fit_plane(corners);
    // The corners stand in their order round the polygon and the face's edges run from corner k
    // to k + d; the edges as the input listed them run the other way round, from k + d to k.
    if (m <= 1 || !plane.valid) {
      for (int k = 0; k < n; ++k) {
        const std::uint32_t p = points[corner(k)], q = points[corner(k + d)];
        if (d > 1) {
          triangle(centre, q, p, face);
        } else {
          triangle(centre, p, q, face);
        }
      }
      return;
    }
    // The outline runs from corner k along its edge to k + m until that edge crosses the edge
    // that reaches corner k + 1 from k + 1 − m.
    std::vector<std::uint32_t> crossing(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
      const auto a = plane.flat(corners[corner(k)]);
      const auto b = plane.flat(corners[corner(k + m)]);
      const auto c = plane.flat(corners[corner(k + 1)]);
      const auto e = plane.flat(corners[corner(k + 1 - m)]);
      const double r[2] = {b[0] - a[0], b[1] - a[1]};
      const double w[2] = {e[0] - c[0], e[1] - c[1]};
      const double det = r[0] * w[1] - r[1] * w[0];
      double x = (a[0] + c[0]) / 2, y = (a[1] + c[1]) / 2;
      if (std::fabs(det) > 1e-12) {
        const double t = ((c[0] - a[0]) * w[1] - (c[1] - a[1]) * w[0]) / det;
        x = a[0] + t * r[0];
        y = a[1] + t * r[1];
      }
      crossing[static_cast<std::size_t>(k)] = add_point(plane.lift(x, y));
    }
    // The listed edges turn against the order round the polygon for a step below n/2, with it
    // for a step above.
    const bool reversed = d < n - d;
    for (int k = 0; k < n; ++k) {
      const std::uint32_t p = points[corner(k)], x = crossing[static_cast<std::size_t>(k)];
      const std::uint32_t q = points[corner(k + 1)];
      if (reversed) {
        triangle(centre, x, p, face);
        triangle(centre, q, x, face);
      } else {
        triangle(centre, p, x, face);
        triangle(centre, x, q, face);
      }
    }
  }

  // One quadrilateral per side k to k + d: corner k, corner k + d, their inner points.
  void frame(int face, double width) {
    const int n = model_.FaceSides(face);
    const int d = std::max(model_.FaceStep(face), 1);
    const std::vector<Point> inner = frame_inner_points(model_, face, width);
    const std::uint32_t first_inner = static_cast<std::uint32_t>(out_.positions.size() / 3);
    for (const Point& p : inner) add_point(p);
    for (int k = 0; k < n; ++k) {
      const int next = (k + d) % n;
      const std::uint32_t a = point_of_vertex(model_.FaceVertices(face, k + 1));
      const std::uint32_t b = point_of_vertex(model_.FaceVertices(face, next + 1));
      const std::uint32_t inner_b = first_inner + static_cast<std::uint32_t>(next);
      const std::uint32_t inner_a = first_inner + static_cast<std::uint32_t>(k);
      if (d > 1) {  // the listed edge runs from b to a
        triangle(a, inner_b, b, face);
        triangle(a, inner_a, inner_b, face);
      } else {
        triangle(a, b, inner_b, face);
        triangle(a, inner_b, inner_a, face);
      }
    }
  }

 private:
  const Model& model_;
  VisibleFaces& out_;
};

Point vertex_mean(const VisibleFaces& out) {
  Point mean;
  for (int p = 0; p < out.vertex_points; ++p) {
    mean = {mean.x + out.positions[3 * p] / out.vertex_points,
            mean.y + out.positions[3 * p + 1] / out.vertex_points,
            mean.z + out.positions[3 * p + 2] / out.vertex_points};
  }
  return mean;
}

// Turns the triangles of each star face whose plane passes the mean of the vertices at more
// than a millionth of the model's radius so that they face away from it. A face's triangles
// follow each other.
void face_stars_away(const Model& model, VisibleFaces& out, const std::vector<char>& star) {
  if (std::find(star.begin(), star.end(), 1) == star.end()) return;
  const Point centre = vertex_mean(out);
  const auto at = [&](std::uint32_t p) {
    return Point{out.positions[3 * p], out.positions[3 * p + 1], out.positions[3 * p + 2]};
  };
  double radius = 0.0;
  for (int p = 0; p < out.vertex_points; ++p) {
    const Point d = minus(at(static_cast<std::uint32_t>(p)), centre);
    radius = std::max(radius, std::sqrt(dot(d, d)));
  }
  for (std::size_t first = 0, last = 0; first < out.triangle_count(); first = last) {
    const int face = out.triangle_faces[first];
    last = first;
    Point area;  // twice the area, along the face's normal
    while (last < out.triangle_count() && out.triangle_faces[last] == face) {
      const Point a = at(out.triangles[3 * last]);
      const Point n = cross(minus(at(out.triangles[3 * last + 1]), a),
                            minus(at(out.triangles[3 * last + 2]), a));
      area = {area.x + n.x, area.y + n.y, area.z + n.z};
      ++last;
    }
    const double length = std::sqrt(dot(area, area));
    if (!star[static_cast<std::size_t>(face)] || !(length > 0.0)) continue;
    const double height = dot(area, minus(face_centre_point(model, face), centre)) / length;
    if (!(height < -1e-6 * radius)) continue;
    for (std::size_t t = first; t < last; ++t) {
      std::swap(out.triangles[3 * t + 1], out.triangles[3 * t + 2]);
    }
  }
}

// When every face is an ordinary polygon drawn whole and every edge joins exactly two faces:
// turns faces so that neighbours run their shared edge in opposite directions, then each
// connected piece so that it encloses a positive volume. Leaves everything as it is when the
// surface is open or cannot be oriented (a Möbius band, a Klein bottle).
void orient_outwards(const Model& model, VisibleFaces& out, const std::vector<char>& ordinary) {
  struct Side {
    int low, high, face;
    bool forward;
  };
  std::vector<Side> sides;
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (!ordinary[static_cast<std::size_t>(f)]) return;
    const int n = model.FaceSides(f);
    for (int k = 1; k <= n; ++k) {
      const int a = model.FaceVertices(f, k), b = model.FaceVertices(f, k == n ? 1 : k + 1);
      if (a == b) return;
      sides.push_back({std::min(a, b), std::max(a, b), f, a < b});
    }
  }
  if (sides.empty()) return;
  std::sort(sides.begin(), sides.end(), [](const Side& p, const Side& q) {
    return p.low != q.low ? p.low < q.low : p.high != q.high ? p.high < q.high : p.face < q.face;
  });
  const auto faces = static_cast<std::size_t>(model.FaceCount) + 1;
  std::vector<std::vector<std::pair<int, bool>>> neighbours(faces);  // face, same direction
  for (std::size_t k = 0; k < sides.size(); k += 2) {
    const bool pair = k + 1 < sides.size() && sides[k + 1].low == sides[k].low &&
                      sides[k + 1].high == sides[k].high;
    const bool third = k + 2 < sides.size() && sides[k + 2].low == sides[k].low &&
                       sides[k + 2].high == sides[k].high;
    if (!pair || third || sides[k].face == sides[k + 1].face) return;
    const bool same = sides[k].forward == sides[k + 1].forward;
    neighbours[static_cast<std::size_t>(sides[k].face)].push_back({sides[k + 1].face, same});
    neighbours[static_cast<std::size_t>(sides[k + 1].face)].push_back({sides[k].face, same});
  }
  out.closed = true;

  std::vector<int> flip(faces, -1), piece(faces, 0);
  int pieces = 0;
  std::vector<int> queue;
  for (int start = 1; start <= model.FaceCount; ++start) {
    if (flip[static_cast<std::size_t>(start)] >= 0) continue;
    flip[static_cast<std::size_t>(start)] = 0;
    piece[static_cast<std::size_t>(start)] = pieces++;
    queue.assign(1, start);
    while (!queue.empty()) {
      const int f = queue.back();
      queue.pop_back();
      for (auto [g, same] : neighbours[static_cast<std::size_t>(f)]) {
        const int wanted = flip[static_cast<std::size_t>(f)] ^ (same ? 1 : 0);
        int& mark = flip[static_cast<std::size_t>(g)];
        if (mark < 0) {
          mark = wanted;
          piece[static_cast<std::size_t>(g)] = piece[static_cast<std::size_t>(f)];
          queue.push_back(g);
        } else if (mark != wanted) {
          return;  // not orientable: the faces keep their own turn
        }
      }
    }
  }

  // Six times the signed volume of each piece, measured from the mean of the vertices.
  const Point origin = vertex_mean(out);
  const auto at = [&](std::uint32_t p) {
    return minus(Point{out.positions[3 * p], out.positions[3 * p + 1], out.positions[3 * p + 2]},
                 origin);
  };
  std::vector<double> volume(static_cast<std::size_t>(pieces), 0.0);
  for (std::size_t t = 0; t < out.triangle_count(); ++t) {
    const auto f = static_cast<std::size_t>(out.triangle_faces[t]);
    const double six = dot(at(out.triangles[3 * t]),
                           cross(at(out.triangles[3 * t + 1]), at(out.triangles[3 * t + 2])));
    volume[static_cast<std::size_t>(piece[f])] += flip[f] ? -six : six;
  }
  for (std::size_t t = 0; t < out.triangle_count(); ++t) {
    const auto f = static_cast<std::size_t>(out.triangle_faces[t]);
    if (flip[f] != (volume[static_cast<std::size_t>(piece[f])] < 0 ? 1 : 0)) {
      std::swap(out.triangles[3 * t + 1], out.triangles[3 * t + 2]);
    }
  }
  out.outward = true;
}

}  // namespace

VisibleFaces visible_faces(const Model& model, const RunSettings& settings,
                           const RhombusSetColours& rhombus, MessageSink& sink) {
  VisibleFaces out;
  out.vertex_points = model.vertex_count();
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    out.positions.insert(out.positions.end(),
                         {model.VertexX(v), model.VertexY(v), model.VertexZ(v)});
  }
  const auto faces = static_cast<std::size_t>(std::max(model.FaceCount, 0)) + 1;
  out.face_rgba.assign(4 * faces, 0.0f);
  const std::vector<int> indices = face_colour_indices(model, settings);
  const auto table = vrml_colour_values(settings, rhombus, sink);
  const double opacity = std::clamp(1.0 - lenient_value(settings.TransLevel), 0.0, 1.0);
  std::vector<char> ordinary(faces, 0), star(faces, 0);
  Builder build(model, out);
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::string& flags = model.FaceFlags(f);
    if (has_letter(flags, 'B') || model.FaceSides(f) < 3) continue;
    float* rgba = &out.face_rgba[4 * static_cast<std::size_t>(f)];
    const std::int64_t given = model.FaceInputColour(f);
    if (given & kInputColourGiven) {
      for (int channel = 0; channel < 4; ++channel) {
        rgba[channel] = static_cast<float>((given >> (24 - 8 * channel)) & 255) / 255.0f;
      }
    } else {
      const auto& rgb = table[static_cast<std::size_t>(indices[static_cast<std::size_t>(f)])];
      std::copy(rgb.begin(), rgb.end(), rgba);
      rgba[3] = 1.0f;
    }
    star[static_cast<std::size_t>(f)] = drawn_as_star(model.FaceStep(f), flags);
    const bool transparent = has_letter(flags, 't');
    if (transparent) rgba[3] = static_cast<float>(rgba[3] * opacity);
    if (has_letter(flags, 'f') && !transparent) {
      build.frame(f, settings.frame_width());
    } else if (drawn_as_star(model.FaceStep(f), flags)) {
      build.star(f);
    } else {
      build.ordinary(f);
      ordinary[static_cast<std::size_t>(f)] = 1;
    }
  }
  for (int e = 1; e <= model.EdgeCount; ++e) {
    const std::optional<int> kind = edge_line_colour(model, e);
    if (!kind) continue;
    out.edges.push_back(build.point_of_vertex(model.EdgeVertices(e, 1)));
    out.edges.push_back(build.point_of_vertex(model.EdgeVertices(e, 2)));
    out.edge_kinds.push_back(*kind);
  }
  orient_outwards(model, out, ordinary);
  face_stars_away(model, out, star);
  return out;
}

}  // namespace ostrel
