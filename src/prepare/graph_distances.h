// The fewest steps between every two vertices of the model, over its edges and its bands: the
// target distances of stress majorization (engine/stress_start.h) come from them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/model.h"
#include "prepare/edge_table.h"

namespace ostrel {

struct GraphDistances {
  static constexpr std::uint16_t kUnreached = 0xFFFF;  // the two vertices are in different parts
  static constexpr std::uint16_t kBand = 0xFFFE;       // the pair is a band
  int first = 0;                                       // vertex number of row 0
  int count = 0;                                       // vertices first..first + count - 1
  // Row-major count × count: 0 on the diagonal, else the steps, kBand or kUnreached.
  std::vector<std::uint16_t> steps;

  std::uint16_t operator()(int a, int b) const {
    return steps[static_cast<std::size_t>(a - first) * static_cast<std::size_t>(count) +
                 static_cast<std::size_t>(b - first)];
  }
  const std::uint16_t* row(int a) const {
    return steps.data() + static_cast<std::size_t>(a - first) * static_cast<std::size_t>(count);
  }
};

// A breadth-first search from every vertex FirstVertex..`last` over the vertex links and the
// bands (the links after the faces); a band pair is marked kBand. O(V·(V + E)).
GraphDistances graph_distances(const Model& model, const VertexLinkTable& links, int last);

}  // namespace ostrel
