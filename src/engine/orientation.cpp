#include "engine/orientation.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/flag_letters.h"
#include "core/model.h"
#include "core/vec3.h"

namespace ostrel {
namespace {

constexpr double kPi = std::numbers::pi;

Vec3 position(const Model& model, int vertex) {
  return {model.VertexX(vertex), model.VertexY(vertex), model.VertexZ(vertex)};
}

// The point of the line through a and b nearest to the origin; a itself when a and b coincide.
Vec3 line_foot(const Vec3& a, const Vec3& b) {
  const Vec3 direction = b - a;
  const double length_squared = dot(direction, direction);
  const double t = length_squared == 0.0 ? 0.0 : -dot(a, direction) / length_squared;
  return a + t * direction;
}

// Foot point of one, two or three points (see OrientationStep). Three points on one line have no
// plane; their line (through the first point and a distinct other one) stands in for it.
Vec3 foot_point(const std::vector<Vec3>& points) {
  if (points.size() == 1) return points[0];
  if (points.size() == 2) return line_foot(points[0], points[1]);
  const Vec3& a = points[0];
  const Vec3 normal = cross(points[1] - a, points[2] - a);
  const double normal_squared = dot(normal, normal);
  if (normal_squared == 0.0) {
    const Vec3 other = dot(points[1] - a, points[1] - a) > 0.0 ? points[1] : points[2];
    return line_foot(a, other);
  }
  return (dot(normal, a) / normal_squared) * normal;
}

// The first three vertices carrying `letter`, in vertex order.
std::vector<Vec3> flagged_positions(const Model& model, char letter) {
  std::vector<Vec3> points;
  for (int v = model.FirstVertex; v <= model.LastVertex && points.size() < 3; ++v) {
    if (has_letter(model.VertexFlags(v), letter)) {
      points.push_back(position(model, v));
    }
  }
  return points;
}

// Turns the pair (a, b) by `angle` in its plane: a' = a·cos + b·sin, b' = b·cos − a·sin.
void turn(double& a, double& b, double c, double s) {
  const double a0 = a;
  const double b0 = b;
  a = a0 * c + b0 * s;
  b = b0 * c - a0 * s;
}

// Turns every vertex (and `extra`, when given) in the plane of the two coordinates.
void turn_vertices(Model& model, Table<double> Model::*first, Table<double> Model::*second,
                   double angle, double* extra_first = nullptr, double* extra_second = nullptr) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    turn((model.*first)(v), (model.*second)(v), c, s);
  }
  if (extra_first) turn(*extra_first, *extra_second, c, s);
}

// About the z axis: x' = x·cos θ + y·sin θ, y' = y·cos θ − x·sin θ.
void turn_about_z(Model& model, double theta, Vec3& extra) {
  turn_vertices(model, &Model::VertexX, &Model::VertexY, theta, &extra.x, &extra.y);
}

// In the y-z plane: y' = y·cos φ + z·sin φ, z' = z·cos φ − y·sin φ.
void turn_in_yz(Model& model, double phi, Vec3& extra) {
  turn_vertices(model, &Model::VertexY, &Model::VertexZ, phi, &extra.y, &extra.z);
}

// In the x-z plane (the vertices only): x' = x·cos ψ + z·sin ψ, z' = z·cos ψ − x·sin ψ.
void turn_in_xz(Model& model, double psi) {
  turn_vertices(model, &Model::VertexX, &Model::VertexZ, psi);
}

}  // namespace

double orientation_angle(double x, double y) {
  if (x > 0.0) return std::atan(y / x);
  if (x < 0.0) return y > 0.0 ? std::atan(y / x) + kPi : std::atan(y / x) - kPi;
  if (y > 0.0) return kPi / 2.0;
  if (y < 0.0) return 3.0 * kPi / 2.0;
  return 0.0;
}

void OrientationStep(Model& model) {
  int mirror_vertex = -1;
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    if (has_letter(model.VertexFlags(v), 'R')) mirror_vertex = v;
  }

  // Stage 1: the foot point of the "F" vertices onto the positive z axis.
  const std::vector<Vec3> front = flagged_positions(model, 'F');
  if (!front.empty()) {
    Vec3 foot = foot_point(front);
    const bool sideways = has_letter(model.FaceFlags(1), 'Y');
    if (!sideways) {
      turn_about_z(model, kPi / 2.0 + orientation_angle(foot.x, foot.y), foot);
      turn_in_yz(model, orientation_angle(foot.y, foot.z) - kPi / 2.0, foot);
    } else {
      turn_in_xz(model, kPi / 2.0 + orientation_angle(foot.x, foot.z));
    }
  }

  // Stage 2: the foot point of the "T" vertices about the z axis onto the positive y side.
  const std::vector<Vec3> top = flagged_positions(model, 'T');
  if (!top.empty()) {
    Vec3 foot = foot_point(top);
    turn_about_z(model, orientation_angle(foot.x, foot.y) - kPi / 2.0, foot);
  }

  // Last: the "R" vertex onto the side of x at or above 0.
  if (mirror_vertex >= 0 && model.VertexX(mirror_vertex) < 0.0) {
    for (int v = model.FirstVertex; v <= model.LastVertex; ++v)
      model.VertexX(v) = -model.VertexX(v);
  }
}

}  // namespace ostrel
