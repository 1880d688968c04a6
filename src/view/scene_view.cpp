#include "view/scene_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfFieldOfView = 15.0 * kPi / 180.0;
constexpr double kFill = 0.46;  // the model's sphere reaches this share of the picture's side
constexpr double kAmbient = 0.32;
constexpr double kEdgeLift = 0.02;  // edges are drawn this share of their mean length nearer
constexpr std::array<float, 3> kTop{246.0f / 255, 248.0f / 255, 250.0f / 255};
constexpr std::array<float, 3> kBottom{208.0f / 255, 214.0f / 255, 222.0f / 255};

struct Vec {
  double x = 0.0, y = 0.0, z = 0.0;
};
Vec operator-(const Vec& a, const Vec& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec& a, const Vec& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec unit(const Vec& v) {
  const double length = std::sqrt(dot(v, v));
  return length > 0.0 ? Vec{v.x / length, v.y / length, v.z / length} : v;
}

const Vec kLight = unit({-0.35, 0.55, 0.75});  // from the upper left, beside the viewer

// The camera: the model turned about the centre of its drawn points and seen from a distance
// at which the sphere round them fills the picture.
class Camera {
 public:
  Camera(const ModelScene& scene, const ViewAngles& angles, int width, int height) {
    const std::vector<double>& at = scene.solid.positions;
    std::vector<char> used(at.size() / 3, 0);
    for (std::uint32_t p : scene.solid.triangles) used[p] = 1;
    for (std::uint32_t p : scene.solid.edges) used[p] = 1;
    for (std::uint32_t p : scene.spheres) used[p] = 1;
    constexpr double kHuge = std::numeric_limits<double>::max();
    Vec low{kHuge, kHuge, kHuge}, high{-kHuge, -kHuge, -kHuge};
    bool any = false;
    for (std::size_t p = 0; p < used.size(); ++p) {
      if (!used[p]) continue;
      any = true;
      low = {std::min(low.x, at[3 * p]), std::min(low.y, at[3 * p + 1]),
             std::min(low.z, at[3 * p + 2])};
      high = {std::max(high.x, at[3 * p]), std::max(high.y, at[3 * p + 1]),
              std::max(high.z, at[3 * p + 2])};
    }
    if (any) centre_ = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    double radius = 0.0;
    for (std::size_t p = 0; p < used.size(); ++p) {
      const Vec d = point(at, p) - centre_;
      if (used[p]) radius = std::max(radius, std::sqrt(dot(d, d)));
    }
    if (!scene.spheres.empty()) radius += std::max(scene.sphere_radius, 0.0);
    if (!(radius > 1e-9)) radius = 1.0;
    distance_ = radius / std::sin(kHalfFieldOfView);
    scale_ = kFill * std::min(width, height) * std::max(angles.zoom, 1e-3) / radius;
    centre_x_ = width / 2.0;
    centre_y_ = height / 2.0;
    const double yaw = angles.yaw * kPi / 180.0, pitch = angles.pitch * kPi / 180.0;
    cos_yaw_ = std::cos(yaw);
    sin_yaw_ = std::sin(yaw);
    cos_pitch_ = std::cos(pitch);
    sin_pitch_ = std::sin(pitch);
  }

  static Vec point(const std::vector<double>& at, std::size_t p) {
    return {at[3 * p], at[3 * p + 1], at[3 * p + 2]};
  }
  // The point turned into the camera's frame: x right, y up, z towards the viewer.
  Vec turned(const Vec& p) const {
    const Vec d = p - centre_;
    const double x = d.x * cos_yaw_ + d.z * sin_yaw_;
    const double z = -d.x * sin_yaw_ + d.z * cos_yaw_;
    return {x, d.y * cos_pitch_ - z * sin_pitch_, d.y * sin_pitch_ + z * cos_pitch_};
  }
  // Distance from the viewer along the line of sight (always positive: the viewer stands
  // outside the model's sphere).
  double depth(const Vec& v) const { return distance_ - v.z; }
  // Pixels per model unit at the depth of `v`.
  double pixels_per_unit(const Vec& v) const { return scale_ * distance_ / depth(v); }
  double screen_x(const Vec& v) const { return centre_x_ + v.x * pixels_per_unit(v); }
  double screen_y(const Vec& v) const { return centre_y_ - v.y * pixels_per_unit(v); }
  Vec eye() const { return {0.0, 0.0, distance_}; }

 private:
  Vec centre_;
  double distance_ = 1.0;
  double scale_ = 1.0;
  double centre_x_ = 0.0, centre_y_ = 0.0;
  double cos_yaw_ = 1.0, sin_yaw_ = 0.0, cos_pitch_ = 1.0, sin_pitch_ = 0.0;
};

// A corner on the picture: its position in samples and 1 / its depth, which, unlike the depth,
// changes linearly across a triangle's picture. Larger is nearer.
struct Corner {
  double x = 0.0, y = 0.0, nearness = 0.0;
};

using Rgb = std::array<float, 3>;

// The samples: colour and nearness (0 where nothing is drawn yet).
class Raster {
 public:
  Raster(int width, int height)
      : width_(width),
        height_(height),
        colour_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
        nearness_(colour_.size(), 0.0f) {
    for (int y = 0; y < height_; ++y) {
      const float t = height_ > 1 ? static_cast<float>(y) / static_cast<float>(height_ - 1) : 0.0f;
      const Rgb row{kTop[0] + t * (kBottom[0] - kTop[0]), kTop[1] + t * (kBottom[1] - kTop[1]),
                    kTop[2] + t * (kBottom[2] - kTop[2])};
      std::fill_n(colour_.begin() + static_cast<std::ptrdiff_t>(index(0, y)), width_, row);
    }
  }

  // Fills the triangle where it is nearer than what is there: an opaque one (alpha 1) takes the
  // samples, a see-through one is blended over them and leaves their nearness. A sample on the
  // line between two triangles that share it belongs to exactly one of them.
  void triangle(Corner a, Corner b, Corner c, const Rgb& rgb, float alpha) {
    double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (!(std::fabs(area) > 1e-12)) return;
    if (area < 0) {
      std::swap(b, c);
      area = -area;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
    // Side k runs from `from` to `to`; its value at a sample is positive inside.
    const std::array<std::pair<const Corner*, const Corner*>, 3> sides{
        {{&b, &c}, {&c, &a}, {&a, &b}}};
    std::array<double, 3> step{}, row_step{}, row_start{};
    std::array<bool, 3> owns_line{};
    for (std::size_t k = 0; k < 3; ++k) {
      const Corner& from = *sides[k].first;
      const Corner& to = *sides[k].second;
      const double dx = to.x - from.x, dy = to.y - from.y;
      step[k] = -dy;
      row_step[k] = dx;
      row_start[k] = dx * (y0 + 0.5 - from.y) - dy * (x0 + 0.5 - from.x);
      owns_line[k] = dy > 0 || (dy == 0 && dx < 0);
    }
    const std::array<double, 3> nearness{a.nearness, b.nearness, c.nearness};
    for (int y = y0; y <= y1; ++y) {
      // The samples of the row between the sides, found from where each side's value turns
      // positive, one sample wider each way for rounding; the test below decides each one.
      double low = x0, high = x1;
      for (std::size_t k = 0; k < 3; ++k) {
        if (step[k] > 0) {
          low = std::max(low, x0 - row_start[k] / step[k] - 1);
        } else if (step[k] < 0) {
          high = std::min(high, x0 - row_start[k] / step[k] + 1);
        } else if (row_start[k] < 0) {
          high = low - 1;
        }
      }
      const int first = static_cast<int>(std::ceil(low)), last = static_cast<int>(std::floor(high));
      std::array<double, 3> value{};
      for (std::size_t k = 0; k < 3; ++k) value[k] = row_start[k] + (first - x0) * step[k];
      for (int x = first; x <= last; ++x) {
        bool in = true;
        for (std::size_t k = 0; k < 3 && in; ++k) {
          in = value[k] > 0 || (value[k] == 0 && owns_line[k]);
        }
        if (in) {
          const double near =
              (value[0] * nearness[0] + value[1] * nearness[1] + value[2] * nearness[2]) / area;
          put(index(x, y), static_cast<float>(near), rgb, alpha);
        }
        for (std::size_t k = 0; k < 3; ++k) value[k] += step[k];
      }
      for (std::size_t k = 0; k < 3; ++k) row_start[k] += row_step[k];
    }
  }

  // A ball of `radius` samples about (x, y), `depth` away at its centre, `world_radius` in model
  // units, lit from kLight with a highlight.
  void ball(double x, double y, double radius, double depth, double world_radius, const Rgb& rgb) {
    const int x0 = std::max(0, static_cast<int>(std::floor(x - radius)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(x + radius)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y - radius)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(y + radius)));
    const Vec half = unit({kLight.x, kLight.y, kLight.z + 1.0});
    for (int py = y0; py <= y1; ++py) {
      for (int px = x0; px <= x1; ++px) {
        const double dx = (px + 0.5 - x) / radius, dy = (py + 0.5 - y) / radius;
        const double rim = dx * dx + dy * dy;
        if (rim > 1.0) continue;
        const Vec normal{dx, -dy, std::sqrt(1.0 - rim)};
        const double lit = kAmbient + (1.0 - kAmbient) * std::max(0.0, dot(normal, kLight));
        const double shine = 0.35 * std::pow(std::max(0.0, dot(normal, half)), 30.0);
        const Rgb shaded{static_cast<float>(std::min(1.0, rgb[0] * lit + shine)),
                         static_cast<float>(std::min(1.0, rgb[1] * lit + shine)),
                         static_cast<float>(std::min(1.0, rgb[2] * lit + shine))};
        put(index(px, py), static_cast<float>(1.0 / (depth - world_radius * normal.z)), shaded,
            1.0f);
      }
    }
  }

  // Each pixel the mean of its factor × factor samples.
  ViewPicture picture(int factor) const {
    ViewPicture out;
    out.width = width_ / factor;
    out.height = height_ / factor;
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    const float share = 1.0f / static_cast<float>(factor * factor);
    const auto byte = [](float value) {
      return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
    };
    for (int y = 0; y < out.height; ++y) {
      for (int x = 0; x < out.width; ++x) {
        Rgb sum{};
        for (int sy = 0; sy < factor; ++sy) {
          for (int sx = 0; sx < factor; ++sx) {
            const Rgb& sample = colour_[index(x * factor + sx, y * factor + sy)];
            for (std::size_t k = 0; k < 3; ++k) sum[k] += sample[k];
          }
        }
        out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                   static_cast<std::size_t>(x)] = 0xff000000u | byte(sum[0] * share) << 16 |
                                                  byte(sum[1] * share) << 8 | byte(sum[2] * share);
      }
    }
    return out;
  }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  void put(std::size_t at, float near, const Rgb& rgb, float alpha) {
    if (!(near > nearness_[at])) return;
    Rgb& colour = colour_[at];
    if (alpha >= 1.0f) {
      colour = rgb;
      nearness_[at] = near;
      return;
    }
    for (std::size_t k = 0; k < 3; ++k) colour[k] += alpha * (rgb[k] - colour[k]);
  }

  int width_;
  int height_;
  std::vector<Rgb> colour_;
  std::vector<float> nearness_;
};

}  // namespace

ViewPicture render_view(const ModelScene& scene, const ViewAngles& angles, ViewStyle style,
                        int width, int height, int supersample) {
  const int factor = std::clamp(supersample, 1, 4);
  width = std::max(width, 1);
  height = std::max(height, 1);
  const Camera camera(scene, angles, width * factor, height * factor);
  Raster raster(width * factor, height * factor);
  const VisibleFaces& faces = style == ViewStyle::kFrame ? scene.frame : scene.solid;

  std::vector<Vec> turned(faces.positions.size() / 3);
  std::vector<Corner> corners(turned.size());
  for (std::size_t p = 0; p < turned.size(); ++p) {
    turned[p] = camera.turned(Camera::point(faces.positions, p));
    corners[p] = {camera.screen_x(turned[p]), camera.screen_y(turned[p]),
                  1.0 / camera.depth(turned[p])};
  }

  // Opaque faces first; a closed opaque surface turned outwards shows only the triangles facing
  // the viewer. The see-through ones are blended afterwards, far to near.
  struct SeeThrough {
    double depth;
    std::size_t triangle;
    Rgb rgb;
  };
  std::vector<SeeThrough> see_through;
  bool cull = style == ViewStyle::kSolid && faces.outward;
  for (std::size_t t = 0; cull && t < faces.triangle_count(); ++t) {
    cull = faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[t]) + 3] >= 1.0f;
  }
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const std::uint32_t* point = &faces.triangles[3 * t];
    const Vec& a = turned[point[0]];
    const Vec& b = turned[point[1]];
    const Vec& c = turned[point[2]];
    const Vec normal = unit(cross(b - a, c - a));
    const float* rgba = &faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[t])];
    const bool opaque = rgba[3] >= 1.0f;
    if (cull && dot(normal, camera.eye() - a) <= 0.0) continue;
    const double lit = kAmbient + (1.0 - kAmbient) * std::fabs(dot(normal, kLight));
    const Rgb rgb{static_cast<float>(rgba[0] * lit), static_cast<float>(rgba[1] * lit),
                  static_cast<float>(rgba[2] * lit)};
    if (opaque) {
      raster.triangle(corners[point[0]], corners[point[1]], corners[point[2]], rgb, 1.0f);
    } else if (rgba[3] > 0.0f) {
      see_through.push_back({camera.depth(Vec{0, 0, (a.z + b.z + c.z) / 3}), t, rgb});
    }
  }

  // Edges as bands of their width, lifted a little towards the viewer so that the faces they
  // border do not cover them.
  const double band = std::max(1.0, std::min(width, height) / 450.0) * factor;
  double total_length = 0.0;
  for (std::size_t e = 0; e < faces.edge_kinds.size(); ++e) {
    const Vec d = turned[faces.edges[2 * e]] - turned[faces.edges[2 * e + 1]];
    total_length += std::sqrt(dot(d, d));
  }
  const double lift = faces.edge_kinds.empty()
                          ? 0.0
                          : kEdgeLift * total_length / static_cast<double>(faces.edge_kinds.size());
  for (std::size_t e = 0; e < faces.edge_kinds.size(); ++e) {
    const Vec& a = turned[faces.edges[2 * e]];
    const Vec& b = turned[faces.edges[2 * e + 1]];
    const int kind = std::clamp(faces.edge_kinds[e], 0, 2);
    const double half = (kind == 2 ? band : band / 2);
    Corner from = corners[faces.edges[2 * e]], to = corners[faces.edges[2 * e + 1]];
    from.nearness = 1.0 / (camera.depth(a) - lift);
    to.nearness = 1.0 / (camera.depth(b) - lift);
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 1e-9)) continue;
    const double ux = dx / length * half, uy = dy / length * half;  // along, half the width
    const Corner p1{from.x - ux - uy, from.y - uy + ux, from.nearness};
    const Corner p2{to.x + ux - uy, to.y + uy + ux, to.nearness};
    const Corner p3{to.x + ux + uy, to.y + uy - ux, to.nearness};
    const Corner p4{from.x - ux + uy, from.y - uy - ux, from.nearness};
    const Rgb& rgb = scene.edge_rgb[static_cast<std::size_t>(kind)];
    raster.triangle(p1, p2, p3, rgb, 1.0f);
    raster.triangle(p1, p3, p4, rgb, 1.0f);
  }

  for (std::uint32_t p : scene.spheres) {
    const Vec centre = turned[p];
    raster.ball(camera.screen_x(centre), camera.screen_y(centre),
                scene.sphere_radius * camera.pixels_per_unit(centre), camera.depth(centre),
                scene.sphere_radius, scene.sphere_rgb);
  }

  std::stable_sort(see_through.begin(), see_through.end(),
                   [](const SeeThrough& p, const SeeThrough& q) { return p.depth > q.depth; });
  for (const SeeThrough& item : see_through) {
    const std::uint32_t* point = &faces.triangles[3 * item.triangle];
    const float alpha =
        faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[item.triangle]) + 3];
    raster.triangle(corners[point[0]], corners[point[1]], corners[point[2]], item.rgb, alpha);
  }
  return raster.picture(factor);
}

}  // namespace ostrel
