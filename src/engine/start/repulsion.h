// The pairs of vertices that share no edge and no face yet stand closer than a reach: the
// shape solver of a robust start holds them apart, so that a model still far from its shape does
// not settle folded onto itself (a tetrahedron of a chain set up on the wrong side of its base
// puts a vertex on top of another). The relaxation itself never uses it, so a settled model
// meets exactly the targets of the ordinary forces.
//
// Close pairs are found on a grid of cells as large as the reach: the vertices are sorted by
// cell and every cell is compared with its neighbours, so the cost grows with the number of
// vertices, not with its square. Pairs come in one fixed order.
#pragma once

#include <cstdint>
#include <vector>

#include "core/model.h"

namespace ostrel {

class Repulsion {
 public:
  // Pairs closer than `reach` count as close.
  Repulsion(const Model& model, double reach);

  // The unrelated pairs closer than the reach (vertex numbers, lower first), in a fixed order.
  const std::vector<std::pair<int, int>>& close_pairs(const Model& model);

  double reach() const { return reach_; }

  // Whether a and b share an edge or a face (vertex numbers).
  bool related(int a, int b) const;

 private:
  int first_ = 0;
  int last_ = -1;
  double reach_;
  // Related vertices of each vertex (index v − first), sorted.
  std::vector<std::vector<int>> related_;
  // Work arrays: vertices ordered by cell, and their cell keys.
  std::vector<std::int64_t> keys_;
  std::vector<int> order_;
  std::vector<std::int64_t> sorted_keys_;
  std::vector<std::pair<int, int>> pairs_;
};

}  // namespace ostrel
