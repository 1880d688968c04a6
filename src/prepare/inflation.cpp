#include "prepare/inflation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/number_format.h"

namespace ostrel {
namespace {

int first_index(const Model& model) {
  return std::max(model.FirstVertex, 0);
}

}  // namespace

void compute_hop_distances(const Model& model, const VertexLinkTable& links, double band_length,
                           HopDistanceTable& hop, DebugLog* debug) {
  const int first = first_index(model);
  const int last = model.LastVertex;
  if (last < first) return;
  for (int v = first; v <= last; ++v) std::fill_n(&hop(v, first), last - first + 1, 0.0f);
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int v = model.EdgeVertices(e, 1);
    int w = model.EdgeVertices(e, 2);
    hop(v, w) = hop(w, v) = static_cast<float>(model.EdgeTarget(e));
  }
  std::vector<std::string> band_lines;
  std::vector<std::vector<int>> band_partners(static_cast<std::size_t>(last - first + 1));
  for (int b = 1; b <= model.LinkCount; ++b) {
    int row = model.FaceCount + b;
    int v = model.FaceVertices(row, 1);
    int w = model.FaceVertices(row, 2);
    hop(v, w) = hop(w, v) = 1.0f;
    band_lines.push_back("Band found between vertices " + print_form(v) + " and " + print_form(w));
    if (v >= first && v <= last && w >= first && w <= last) {
      band_partners[static_cast<std::size_t>(v - first)].push_back(w);
      band_partners[static_cast<std::size_t>(w - first)].push_back(v);
    }
  }
  if (debug && !band_lines.empty()) debug->append(band_lines);

  // Level by level, a pair at level L reaches, at either end, the neighbours of that end: they
  // get L + 1 where still 0. So a pair (a, b) first reached is 1 + the fewest edge steps from a
  // to one end of a seed pair (an edge or a band, the pairs of level 1) and from its other end
  // to b. A breadth-first search from each vertex a over (vertex, seed used yet?) states finds
  // that count; pairs that already hold a value keep it, and pairs beyond level 50 stay 0.
  const int count = last - first + 1;
  std::vector<int> before(static_cast<std::size_t>(count));  // steps to v, no seed used yet
  std::vector<int> after(static_cast<std::size_t>(count));   // steps to v, a seed used
  std::vector<int> queue;
  queue.reserve(static_cast<std::size_t>(2 * count));
  constexpr int kUnreached = std::numeric_limits<int>::max();
  const int* link_count = links.VertexLinkCount.data();
  for (int a = first; a <= last; ++a) {
    std::fill(before.begin(), before.end(), kUnreached);
    std::fill(after.begin(), after.end(), kUnreached);
    queue.clear();
    before[static_cast<std::size_t>(a - first)] = 0;
    queue.push_back(a - first);  // states: index, + count for the "seed used" side
    for (std::size_t head = 0; head < queue.size(); ++head) {
      int state = queue[head];
      bool used = state >= count;
      int v = (used ? state - count : state) + first;
      int steps = (used ? after : before)[static_cast<std::size_t>(v - first)];
      if (steps + 1 > kHopLevels + 1) continue;
      auto visit = [&](int w, bool seed_used) {
        auto& distance = (seed_used ? after : before)[static_cast<std::size_t>(w - first)];
        if (distance != kUnreached) return;
        distance = steps + 1;
        queue.push_back(w - first + (seed_used ? count : 0));
      };
      const int* neighbours = links.VertexLinks.row_data(v);
      for (int k = 1; k <= link_count[v]; ++k) {
        visit(neighbours[k], used);             // an edge step
        if (!used) visit(neighbours[k], true);  // the edge as the seed
      }
      if (!used) {
        for (int w : band_partners[static_cast<std::size_t>(v - first)]) visit(w, true);
      }
    }
    float* row = &hop(a, first);
    for (int b = first; b <= last; ++b) {
      int steps = after[static_cast<std::size_t>(b - first)];
      if (row[b - first] == 0.0f && steps >= 2 && steps <= kHopLevels + 1) {
        row[b - first] = static_cast<float>(steps);
      }
    }
  }

  for (int b = 1; b <= model.LinkCount; ++b) {
    int row = model.FaceCount + b;
    int v = model.FaceVertices(row, 1);
    int w = model.FaceVertices(row, 2);
    hop(v, w) = hop(w, v) = static_cast<float>(band_length);
  }
}

int apply_square_root_hop(const Model& model, double multiplier, HopDistanceTable& hop) {
  const int first = first_index(model);
  int negative = 0;
  for (int v = first; v <= model.LastVertex; ++v) {
    float* row = &hop(v, first);
    for (int w = 0; w <= model.LastVertex - first; ++w) {
      if (row[w] < 0.0f) {
        ++negative;
        continue;
      }
      row[w] = static_cast<float>(multiplier * std::sqrt(static_cast<double>(row[w])));
    }
  }
  return negative;
}

LocalInflation draw_local_inflation(const RunSettings& settings, Random& random) {
  LocalInflation inflation;
  double min[4];
  double max[4];
  for (int k = 1; k <= 3; ++k) {
    min[k] = lenient_value(settings.LocInfMin[static_cast<std::size_t>(k)]);
    max[k] = lenient_value(settings.LocInfMax[static_cast<std::size_t>(k)]);
    inflation.value[static_cast<std::size_t>(k)] = min[k];
  }
  auto draw = [&](int k) {
    inflation.value[static_cast<std::size_t>(k)] = min[k] + random.uniform() * (max[k] - min[k]);
  };
  switch (settings.LocalOption) {
    case kLocalRange: draw(1); break;
    case kLocalDifferentialRange:
      draw(2);
      draw(1);
      draw(3);
      break;
    default: break;
  }
  return inflation;
}

std::vector<double> edge_inflation_factors(const Model& model, const RunSettings& settings,
                                           const LocalInflation& inflation) {
  std::vector<double> factor(static_cast<std::size_t>(model.EdgeCount) + 1, inflation.value[1]);
  bool differential =
      settings.LocalOption == kLocalDifferential || settings.LocalOption == kLocalDifferentialRange;
  if (!differential) return factor;
  FaceKind selected = settings.select_face_kind();
  auto is_selected = [&](int f) {
    return f > 0 && selected.sides > 0 && model.FaceSides(f) == selected.sides &&
           model.FaceStep(f) == selected.step;
  };
  auto is_star = [&](int f) { return f > 0 && model.FaceStep(f) > 1; };
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int f1 = model.EdgeFaces(e, 1);
    int f2 = model.EdgeFaces(e, 2);
    if (is_selected(f1) || is_selected(f2)) {
      factor[static_cast<std::size_t>(e)] = inflation.value[3];
    } else if (is_star(f1) || is_star(f2)) {
      factor[static_cast<std::size_t>(e)] = inflation.value[2];
    }
  }
  return factor;
}

void place_starting_positions(Model& model, const RunSettings& settings, Random& random) {
  place_vertices(model, random);
  flatten_vertices(model, settings);
}

void place_vertices(Model& model, Random& random) {
  const int first = model.FirstVertex;
  for (int v = first; v <= model.LastVertex; ++v) {
    if (v > first + model.LastStartSlot) {
      model.VertexX(v) = 2.0 * random.uniform() - 1.0;
      model.VertexY(v) = 2.0 * random.uniform() - 1.0;
      model.VertexZ(v) = 2.0 * random.uniform() - 1.0;
    } else {
      model.VertexX(v) = model.StartX(v - first);
      model.VertexY(v) = model.StartY(v - first);
      model.VertexZ(v) = model.StartZ(v - first);
    }
  }
  forget_starting_positions(model);
}

void flatten_vertices(Model& model, const RunSettings& settings) {
  const bool single_face = model.FaceCount == 1;
  const std::string& face_flags = model.FaceFlags(1);
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    if (!settings.incord && single_face) {
      if (has_letter(face_flags, 'X')) model.VertexX(v) = 0.0;
      if (has_letter(face_flags, 'Y')) model.VertexY(v) = 0.0;
      if (has_letter(face_flags, 'Z')) model.VertexZ(v) = 0.0;
    }
    if (settings.XYConfine) model.VertexZ(v) = 0.0;
  }
}

void forget_starting_positions(Model& model) {
  // Later isomorphs keep only slot 0 (the slots cleared are those numbered like the vertices).
  for (int slot = std::max(model.FirstVertex, 0); slot <= model.LastVertex; ++slot) {
    model.StartX(slot) = model.StartY(slot) = model.StartZ(slot) = 0.0;
  }
  model.LastStartSlot = 0;
}

int last_linked_vertex(const Model& model, const VertexLinkTable& links) {
  for (int v = model.LastVertex; v >= std::max(model.FirstVertex, 0); --v) {
    if (links.VertexLinkCount(v) > 0) return v;
  }
  return model.LastVertex;
}

}  // namespace ostrel
