// Small vector helpers the net's files share: points in space and in the plane of the paper.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/vec3.h"

namespace ostrel::net {

// Points in space are the model's own Vec3.
using P3 = Vec3;
inline P3 unit(P3 a) {
  const double l = length(a);
  return l > 0 ? a * (1.0 / l) : P3{};
}

struct P2 {
  double x = 0, y = 0;
};
inline P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
inline P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
inline P2 operator*(P2 a, double s) { return {a.x * s, a.y * s}; }
inline double dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
inline double cross(P2 a, P2 b) { return a.x * b.y - a.y * b.x; }
inline double length(P2 a) { return std::sqrt(dot(a, a)); }

// An axis-aligned box in the plane.
struct Box {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  void add(P2 p) {
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
  }
  void add(const Box& b) {
    x0 = std::min(x0, b.x0), y0 = std::min(y0, b.y0);
    x1 = std::max(x1, b.x1), y1 = std::max(y1, b.y1);
  }
  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
};

// Twice the signed area of a polygon (positive when its corners turn counterclockwise with y up).
inline double twice_area(const std::vector<P2>& polygon) {
  double sum = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    sum += cross(polygon[i], polygon[(i + 1) % polygon.size()]);
  }
  return sum;
}

// Whether segments ab and cd cross at a point inside both (not merely touch), with tolerance.
inline bool segments_cross(P2 a, P2 b, P2 c, P2 d, double eps) {
  const double d1 = cross(b - a, c - a), d2 = cross(b - a, d - a);
  const double d3 = cross(d - c, a - c), d4 = cross(d - c, b - c);
  const double lab = length(b - a), lcd = length(d - c);
  return ((d1 > eps * lab && d2 < -eps * lab) || (d1 < -eps * lab && d2 > eps * lab)) &&
         ((d3 > eps * lcd && d4 < -eps * lcd) || (d3 < -eps * lcd && d4 > eps * lcd));
}

}  // namespace ostrel::net
