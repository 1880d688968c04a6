#include "view/scene_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "core/parallel.h"
#include "core/vec3.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfFieldOfView = 15.0 * kPi / 180.0;
constexpr double kFill = 0.46;  // the model's sphere reaches this share of the picture's side
constexpr double kAmbient = 0.32;
constexpr double kEdgeLift = 0.02;     // edges are drawn this share of their mean length nearer
constexpr int kBandSamples = 1 << 15;  // samples drawn at a time (their colour and nearness)
constexpr std::array<float, 3> kTop{246.0f / 255, 248.0f / 255, 250.0f / 255};
constexpr std::array<float, 3> kBottom{208.0f / 255, 214.0f / 255, 222.0f / 255};

Vec3 unit(const Vec3& v) {
  const double length = std::sqrt(dot(v, v));
  return length > 0.0 ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

const Vec3 kLight = unit({-0.35, 0.55, 0.75});  // from the upper left, beside the viewer

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
    Vec3 low{kHuge, kHuge, kHuge}, high{-kHuge, -kHuge, -kHuge};
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
      const Vec3 d = point(at, p) - centre_;
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

  static Vec3 point(const std::vector<double>& at, std::size_t p) {
    return {at[3 * p], at[3 * p + 1], at[3 * p + 2]};
  }
  // The point turned into the camera's frame: x right, y up, z towards the viewer.
  Vec3 turned(const Vec3& p) const {
    const Vec3 d = p - centre_;
    const double x = d.x * cos_yaw_ + d.z * sin_yaw_;
    const double z = -d.x * sin_yaw_ + d.z * cos_yaw_;
    return {x, d.y * cos_pitch_ - z * sin_pitch_, d.y * sin_pitch_ + z * cos_pitch_};
  }
  // Distance from the viewer along the line of sight (always positive: the viewer stands
  // outside the model's sphere).
  double depth(const Vec3& v) const { return distance_ - v.z; }
  // Pixels per model unit at the depth of `v`.
  double pixels_per_unit(const Vec3& v) const { return scale_ * distance_ / depth(v); }
  double screen_x(const Vec3& v) const { return centre_x_ + v.x * pixels_per_unit(v); }
  double screen_y(const Vec3& v) const { return centre_y_ - v.y * pixels_per_unit(v); }
  Vec3 eye() const { return {0.0, 0.0, distance_}; }

 private:
  Vec3 centre_;
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

// A triangle ready to fill: its samples lie within columns x0..x1 and rows y0..y1; side k (the
// one opposite corner k of the counterclockwise triangle) has at the first sample of row y0 the
// value row_start[k], positive inside, which grows by step[k] from one sample to the next along a
// row and by row_step[k] from one row to the next.
struct Fill {
  int x0 = 0, x1 = -1, y0 = 0, y1 = -1;
  double area = 0.0;
  std::array<double, 3> step{}, row_step{}, row_start{}, nearness{};
  std::array<bool, 3> owns_line{};
  Rgb rgb{};
  float alpha = 1.0f;
};

// The fill of the triangle a, b, c on a picture of width × height samples; none when it has no
// area or no sample of the picture.
std::optional<Fill> fill_of(Corner a, Corner b, Corner c, const Rgb& rgb, float alpha, int width,
                            int height) {
  double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (!(std::fabs(area) > 1e-12)) return std::nullopt;
  if (area < 0) {
    std::swap(b, c);
    area = -area;
  }
  Fill fill;
  fill.area = area;
  fill.rgb = rgb;
  fill.alpha = alpha;
  fill.x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
  fill.x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
  fill.y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
  fill.y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
  if (fill.x0 > fill.x1 || fill.y0 > fill.y1) return std::nullopt;
  // Side k runs from `from` to `to`.
  const std::array<std::pair<const Corner*, const Corner*>, 3> sides{
      {{&b, &c}, {&c, &a}, {&a, &b}}};
  for (std::size_t k = 0; k < 3; ++k) {
    const Corner& from = *sides[k].first;
    const Corner& to = *sides[k].second;
    const double dx = to.x - from.x, dy = to.y - from.y;
    fill.step[k] = -dy;
    fill.row_step[k] = dx;
    fill.row_start[k] = dx * (fill.y0 + 0.5 - from.y) - dy * (fill.x0 + 0.5 - from.x);
    fill.owns_line[k] = dy > 0 || (dy == 0 && dx < 0);
  }
  fill.nearness = {a.nearness, b.nearness, c.nearness};
  return fill;
}

// A vertex sphere: a ball of `radius` samples about (x, y), `depth` away at its centre,
// `world_radius` in model units, on rows y0..y1.
struct Ball {
  double x = 0.0, y = 0.0, radius = 0.0, depth = 0.0, world_radius = 0.0;
  int y0 = 0, y1 = -1;
};

// Where a triangle's filling stands from one band of rows to the next: the row it has reached
// (−1: none yet) and its sides' values at the first sample of that row. The values are carried
// from row to row by the same additions whatever the bands, so every sample comes out the same.
struct FillProgress {
  int row = -1;
  std::array<double, 3> row_start{};
};

// A band of rows of the samples: colour and nearness (0 where nothing is drawn yet).
class Raster {
 public:
  // A band of at most `rows` rows of a picture of width × height samples.
  Raster(int width, int height, int rows)
      : width_(width),
        height_(height),
        colour_(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows)),
        nearness_(colour_.size(), 0.0f) {}

  // Starts on rows first .. last − 1: the background, nothing drawn.
  void start_band(int first, int last) {
    first_row_ = first;
    end_row_ = last;
    for (int y = first; y < last; ++y) {
      const float t = height_ > 1 ? static_cast<float>(y) / static_cast<float>(height_ - 1) : 0.0f;
      const Rgb row{kTop[0] + t * (kBottom[0] - kTop[0]), kTop[1] + t * (kBottom[1] - kTop[1]),
                    kTop[2] + t * (kBottom[2] - kTop[2])};
      std::fill_n(colour_.begin() + static_cast<std::ptrdiff_t>(index(0, y)), width_, row);
    }
    std::fill_n(nearness_.begin(), static_cast<std::ptrdiff_t>(index(0, last)), 0.0f);
  }

  // Fills the triangle's samples in the band where it is nearer than what is there: an opaque
  // one (alpha 1) takes the samples, a see-through one is blended over them and leaves their
  // nearness. A sample on the line between two triangles that share it belongs to exactly one of
  // them.
  void triangle(const Fill& fill, FillProgress& progress) {
    if (progress.row < fill.y0) progress = {fill.y0, fill.row_start};
    std::array<double, 3>& row_start = progress.row_start;
    for (; progress.row < first_row_; ++progress.row) {
      for (std::size_t k = 0; k < 3; ++k) row_start[k] += fill.row_step[k];
    }
    const int x0 = fill.x0, x1 = fill.x1;
    const std::array<double, 3>& step = fill.step;
    const std::array<double, 3>& nearness = fill.nearness;
    const double area = fill.area;
    const bool own0 = fill.owns_line[0], own1 = fill.owns_line[1], own2 = fill.owns_line[2];
    const bool opaque = fill.alpha >= 1.0f;
    const int last_row = std::min(fill.y1, end_row_ - 1);
    for (; progress.row <= last_row; ++progress.row) {
      const int y = progress.row;
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
      double v0 = row_start[0] + (first - x0) * step[0];
      double v1 = row_start[1] + (first - x0) * step[1];
      double v2 = row_start[2] + (first - x0) * step[2];
      const std::size_t at = first <= last ? index(first, y) : 0;
      for (int x = first; x <= last; ++x) {
        if ((v0 > 0 || (v0 == 0 && own0)) && (v1 > 0 || (v1 == 0 && own1)) &&
            (v2 > 0 || (v2 == 0 && own2))) {
          const double near = (v0 * nearness[0] + v1 * nearness[1] + v2 * nearness[2]) / area;
          const std::size_t sample = at + static_cast<std::size_t>(x - first);
          if (opaque) {
            put_opaque(sample, static_cast<float>(near), fill.rgb);
          } else {
            put(sample, static_cast<float>(near), fill.rgb, fill.alpha);
          }
        }
        v0 += step[0];
        v1 += step[1];
        v2 += step[2];
      }
      for (std::size_t k = 0; k < 3; ++k) row_start[k] += fill.row_step[k];
    }
  }

  // The ball's samples in the band, lit from kLight with a highlight.
  void ball(const Ball& ball, const Rgb& rgb) {
    const double x = ball.x, y = ball.y, radius = ball.radius;
    const int x0 = std::max(0, static_cast<int>(std::floor(x - radius)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(x + radius)));
    const int y0 = std::max(first_row_, ball.y0);
    const int y1 = std::min(end_row_ - 1, ball.y1);
    const Vec3 half = unit({kLight.x, kLight.y, kLight.z + 1.0});
    for (int py = y0; py <= y1; ++py) {
      for (int px = x0; px <= x1; ++px) {
        const double dx = (px + 0.5 - x) / radius, dy = (py + 0.5 - y) / radius;
        const double rim = dx * dx + dy * dy;
        if (rim > 1.0) continue;
        const Vec3 normal{dx, -dy, std::sqrt(1.0 - rim)};
        const double lit = kAmbient + (1.0 - kAmbient) * std::max(0.0, dot(normal, kLight));
        const double shine = 0.35 * std::pow(std::max(0.0, dot(normal, half)), 30.0);
        const Rgb shaded{static_cast<float>(std::min(1.0, rgb[0] * lit + shine)),
                         static_cast<float>(std::min(1.0, rgb[1] * lit + shine)),
                         static_cast<float>(std::min(1.0, rgb[2] * lit + shine))};
        put(index(px, py), static_cast<float>(1.0 / (ball.depth - ball.world_radius * normal.z)),
            shaded, 1.0f);
      }
    }
  }

  // The band's rows of `out`: each pixel the mean of its factor × factor samples (the band
  // holds whole rows of pixels).
  void write(ViewPicture& out, int factor) const {
    const float share = 1.0f / static_cast<float>(factor * factor);
    const auto byte = [](float value) {
      // std::clamp(value, 0, 1), in a form the compiler makes free of branches
      return static_cast<std::uint32_t>(std::min(std::max(value, 0.0f), 1.0f) * 255.0f + 0.5f);
    };
    for (int y = first_row_ / factor; y < end_row_ / factor; ++y) {
      std::uint32_t* pixel =
          &out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width)];
      if (factor == 1) {  // the loop below, for one sample
        const Rgb* sample = &colour_[index(0, y)];
        for (int x = 0; x < out.width; ++x, ++sample) {
          pixel[x] =
              0xff000000u | byte((*sample)[0]) << 16 | byte((*sample)[1]) << 8 | byte((*sample)[2]);
        }
        continue;
      }
      if (factor == 2) {  // the loop below, unrolled
        const Rgb* top = &colour_[index(0, 2 * y)];
        const Rgb* bottom = top + width_;
        for (int x = 0; x < out.width; ++x, top += 2, bottom += 2) {
          Rgb sum{};
          for (std::size_t k = 0; k < 3; ++k) {
            sum[k] = (((0.0f + top[0][k]) + top[1][k]) + bottom[0][k]) + bottom[1][k];
          }
          pixel[x] = 0xff000000u | byte(sum[0] * share) << 16 | byte(sum[1] * share) << 8 |
                     byte(sum[2] * share);
        }
        continue;
      }
      for (int x = 0; x < out.width; ++x) {
        Rgb sum{};
        for (int sy = 0; sy < factor; ++sy) {
          for (int sx = 0; sx < factor; ++sx) {
            const Rgb& sample = colour_[index(x * factor + sx, y * factor + sy)];
            for (std::size_t k = 0; k < 3; ++k) sum[k] += sample[k];
          }
        }
        pixel[x] = 0xff000000u | byte(sum[0] * share) << 16 | byte(sum[1] * share) << 8 |
                   byte(sum[2] * share);
      }
    }
  }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y - first_row_) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  void put_opaque(std::size_t at, float near, const Rgb& rgb) {
    if (near > nearness_[at]) {
      colour_[at] = rgb;
      nearness_[at] = near;
    }
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
  int first_row_ = 0;
  int end_row_ = 0;
  std::vector<Rgb> colour_;
  std::vector<float> nearness_;
};

}  // namespace

std::string view_problem(const ModelScene& scene) {
  double largest = 0.0;
  for (double value : scene.solid.positions) {
    if (!std::isfinite(value)) return "the model's coordinates are not all finite numbers";
    largest = std::max(largest, std::fabs(value));
  }
  if (largest <= kLargestDrawnCoordinate) return {};
  char text[160];
  std::snprintf(text, sizeof text,
                "the model's coordinates reach %.3g, too large to draw (the view draws up to %g)",
                largest, kLargestDrawnCoordinate);
  return text;
}

ViewPicture render_view(const ModelScene& scene, const ViewAngles& angles, ViewStyle style,
                        int width, int height, int supersample) {
  const int factor = std::clamp(supersample, 1, 4);
  width = std::max(width, 1);
  height = std::max(height, 1);
  const int samples_wide = width * factor, samples_high = height * factor;
  const Camera camera(scene, angles, samples_wide, samples_high);
  const VisibleFaces& faces = style == ViewStyle::kFrame ? scene.frame : scene.solid;

  std::vector<Vec3> turned(faces.positions.size() / 3);
  std::vector<Corner> corners(turned.size());
  for (std::size_t p = 0; p < turned.size(); ++p) {
    turned[p] = camera.turned(Camera::point(faces.positions, p));
    corners[p] = {camera.screen_x(turned[p]), camera.screen_y(turned[p]),
                  1.0 / camera.depth(turned[p])};
  }

  // What is drawn, in order: the opaque faces, the edges, the vertex spheres (`balls`), then
  // the see-through faces from `first_see_through` on.
  std::vector<Fill> fills;
  const auto add = [&](const Corner& a, const Corner& b, const Corner& c, const Rgb& rgb,
                       float alpha) {
    if (auto fill = fill_of(a, b, c, rgb, alpha, samples_wide, samples_high)) {
      fills.push_back(*fill);
    }
  };

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
    const Vec3& a = turned[point[0]];
    const Vec3& b = turned[point[1]];
    const Vec3& c = turned[point[2]];
    const Vec3 normal = unit(cross(b - a, c - a));
    const float* rgba = &faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[t])];
    const bool opaque = rgba[3] >= 1.0f;
    if (cull && dot(normal, camera.eye() - a) <= 0.0) continue;
    const double lit = kAmbient + (1.0 - kAmbient) * std::fabs(dot(normal, kLight));
    const Rgb rgb{static_cast<float>(rgba[0] * lit), static_cast<float>(rgba[1] * lit),
                  static_cast<float>(rgba[2] * lit)};
    if (opaque) {
      add(corners[point[0]], corners[point[1]], corners[point[2]], rgb, 1.0f);
    } else if (rgba[3] > 0.0f) {
      see_through.push_back({camera.depth(Vec3{0, 0, (a.z + b.z + c.z) / 3}), t, rgb});
    }
  }

  // Edges as bands of their width, lifted a little towards the viewer so that the faces they
  // border do not cover them.
  const double band = std::max(1.0, std::min(width, height) / 450.0) * factor;
  double total_length = 0.0;
  for (std::size_t e = 0; e < faces.edge_kinds.size(); ++e) {
    const Vec3 d = turned[faces.edges[2 * e]] - turned[faces.edges[2 * e + 1]];
    total_length += std::sqrt(dot(d, d));
  }
  const double lift = faces.edge_kinds.empty()
                          ? 0.0
                          : kEdgeLift * total_length / static_cast<double>(faces.edge_kinds.size());
  for (std::size_t e = 0; e < faces.edge_kinds.size(); ++e) {
    const Vec3& a = turned[faces.edges[2 * e]];
    const Vec3& b = turned[faces.edges[2 * e + 1]];
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
    add(p1, p2, p3, rgb, 1.0f);
    add(p1, p3, p4, rgb, 1.0f);
  }

  std::vector<Ball> balls;
  for (std::uint32_t p : scene.spheres) {
    const Vec3 centre = turned[p];
    Ball ball{camera.screen_x(centre), camera.screen_y(centre),
              scene.sphere_radius * camera.pixels_per_unit(centre), camera.depth(centre),
              scene.sphere_radius};
    ball.y0 = std::max(0, static_cast<int>(std::floor(ball.y - ball.radius)));
    ball.y1 = std::min(samples_high - 1, static_cast<int>(std::ceil(ball.y + ball.radius)));
    balls.push_back(ball);
  }
  const std::size_t first_see_through = fills.size();

  std::stable_sort(see_through.begin(), see_through.end(),
                   [](const SeeThrough& p, const SeeThrough& q) { return p.depth > q.depth; });
  for (const SeeThrough& item : see_through) {
    const std::uint32_t* point = &faces.triangles[3 * item.triangle];
    const float alpha =
        faces.face_rgba[4 * static_cast<std::size_t>(faces.triangle_faces[item.triangle]) + 3];
    add(corners[point[0]], corners[point[1]], corners[point[2]], item.rgb, alpha);
  }

  // The samples are drawn a band of rows at a time, each band by one thread, and every band's
  // pixels written as soon as it is done: a band fits in a processor's cache. Each sample sees
  // the same drawing in the same order as if the whole picture were drawn at once.
  const int rows = std::max(1, kBandSamples / samples_wide / factor) * factor;
  const int bands = (samples_high + rows - 1) / rows;
  std::vector<std::vector<std::uint32_t>> in_band(static_cast<std::size_t>(bands));
  for (std::size_t f = 0; f < fills.size(); ++f) {
    for (int b = fills[f].y0 / rows; b <= fills[f].y1 / rows; ++b) {
      in_band[static_cast<std::size_t>(b)].push_back(static_cast<std::uint32_t>(f));
    }
  }
  ViewPicture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  parallel_rows(bands, thread_count(0), [&](int begin, int end) {
    Raster raster(samples_wide, samples_high, rows);
    std::vector<FillProgress> progress(fills.size());
    for (int b = begin; b < end; ++b) {
      raster.start_band(b * rows, std::min(samples_high, (b + 1) * rows));
      const std::vector<std::uint32_t>& drawn = in_band[static_cast<std::size_t>(b)];
      auto next = drawn.begin();
      for (; next != drawn.end() && *next < first_see_through; ++next) {
        raster.triangle(fills[*next], progress[*next]);
      }
      for (const Ball& ball : balls) raster.ball(ball, scene.sphere_rgb);
      for (; next != drawn.end(); ++next) raster.triangle(fills[*next], progress[*next]);
      raster.write(picture, factor);
    }
  });
  return picture;
}

}  // namespace ostrel
