#include "prepare/graph_distances.h"

#include <algorithm>

namespace ostrel {

GraphDistances graph_distances(const Model& model, const VertexLinkTable& links, int last) {
  GraphDistances distances;
  distances.first = std::max(model.FirstVertex, 0);
  distances.count = std::max(last - distances.first + 1, 0);
  const int first = distances.first;
  const int count = distances.count;
  distances.steps.assign(static_cast<std::size_t>(count) * static_cast<std::size_t>(count),
                         GraphDistances::kUnreached);
  // Neighbours by vertex: the edges, then the bands.
  std::vector<std::vector<int>> bands(static_cast<std::size_t>(count));
  for (int b = 1; b <= model.LinkCount; ++b) {
    const int row = model.FaceCount + b;
    const int v = model.FaceVertices(row, 1);
    const int w = model.FaceVertices(row, 2);
    if (v < first || w < first || v > last || w > last || v == w) continue;
    bands[static_cast<std::size_t>(v - first)].push_back(w);
    bands[static_cast<std::size_t>(w - first)].push_back(v);
  }
  std::vector<int> queue;
  queue.reserve(static_cast<std::size_t>(count));
  for (int a = first; a <= last; ++a) {
    std::uint16_t* row = distances.steps.data() +
                         static_cast<std::size_t>(a - first) * static_cast<std::size_t>(count);
    queue.clear();
    queue.push_back(a);
    row[a - first] = 0;
    for (std::size_t head = 0; head < queue.size(); ++head) {
      const int v = queue[head];
      const std::uint16_t next = static_cast<std::uint16_t>(std::min(row[v - first] + 1, 0xFFFD));
      const auto visit = [&](int w) {
        if (w < first || w > last || row[w - first] != GraphDistances::kUnreached) return;
        row[w - first] = next;
        queue.push_back(w);
      };
      const int* neighbours = links.VertexLinks.row_data(v);
      for (int k = 1; k <= links.VertexLinkCount(v); ++k) visit(neighbours[k]);
      for (int w : bands[static_cast<std::size_t>(v - first)]) visit(w);
    }
    for (int w : bands[static_cast<std::size_t>(a - first)]) row[w - first] = GraphDistances::kBand;
  }
  return distances;
}

}  // namespace ostrel
