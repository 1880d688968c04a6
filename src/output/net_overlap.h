// The overlap test of a net: whether a polygon laid on the paper covers part of what lies there
// already. Polygons that only touch (along a side or at a corner) do not overlap.
//
// Each polygon is kept as convex parts (itself when convex, else the triangles of its ear
// clipping), and the parts in a grid of square cells, so that a test looks only at the parts
// near it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "output/net_geometry.h"

namespace ostrel::net {

// Whether the insides of two convex polygons (either turning) share an area: on every side's
// normal their shadows overlap by more than `eps`.
bool convex_overlap(const std::vector<P2>& a, const std::vector<P2>& b, double eps);

// Corner triples that cut a simple polygon (its corners in order, either turning) into
// triangles, ear by ear.
std::vector<std::vector<int>> ear_triangles(const std::vector<P2>& polygon);

// The polygon as convex pieces of corner numbers: the whole polygon when convex, else triangles.
std::vector<std::vector<int>> convex_parts(const std::vector<P2>& polygon);

class PaperIndex {
 public:
  // `cell` is the side of a grid cell (about the size of a face); `eps` the depth of overlap
  // that counts.
  PaperIndex(double cell, double eps) : cell_(cell), eps_(eps) {}

  // Whether any part of `polygon` (cut into `parts`) overlaps a polygon added before.
  bool overlaps(const std::vector<P2>& polygon, const std::vector<std::vector<int>>& parts);
  void add(const std::vector<P2>& polygon, const std::vector<std::vector<int>>& parts);

 private:
  struct Part {
    std::vector<P2> corners;
    Box box;
  };
  template <class Visit>
  void cells(const Box& box, Visit visit) const;
  static std::int64_t key(std::int64_t x, std::int64_t y) { return x * 4000037 + y; }

  double cell_;
  double eps_;
  std::vector<Part> parts_;
  std::vector<int> seen_;  // stamp per part, so a part met in several cells is tested once
  int stamp_ = 0;
  std::unordered_map<std::int64_t, std::vector<int>> grid_;
};

}  // namespace ostrel::net
