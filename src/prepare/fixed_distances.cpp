#include "prepare/fixed_distances.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ostrel {

std::vector<FixedDistance> fixed_distances(const Model& model, int first, int last) {
  struct Entry {
    FixedDistance pair;
    int rank;  // 0 face chord, 1 edge: the higher rank wins
  };
  std::vector<Entry> entries;
  auto add = [&](int a, int b, double target, int rank) {
    if (a < first || b < first || a > last || b > last || a == b) return;
    entries.push_back({{std::min(a, b), std::max(a, b), target}, rank});
  };
  constexpr double kPi = 3.14159265358979323846;
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (model.FaceFlags(f).find_first_of("nNDdq") != std::string::npos) continue;
    const int sides = model.FaceSides(f);
    const int step = std::max(model.FaceStep(f), 1);
    if (sides < 4) continue;  // a triangle's chords are its edges
    // Corners follow the outline (star faces were put in that order), so corners k and l
    // stand |l − k| places apart on the circle of the regular polygon.
    const double radius = 0.5 / std::sin(kPi * step / sides);
    for (int k = 1; k <= sides; ++k) {
      for (int l = k + 1; l <= sides; ++l) {
        add(model.FaceVertices(f, k), model.FaceVertices(f, l),
            2.0 * radius * std::sin(kPi * (l - k) / sides), 0);
      }
    }
  }
  for (int e = 1; e <= model.EdgeCount; ++e) {
    add(model.EdgeVertices(e, 1), model.EdgeVertices(e, 2), model.EdgeTarget(e), 1);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
    return x.pair.a != y.pair.a ? x.pair.a < y.pair.a : x.pair.b < y.pair.b;
  });
  std::vector<FixedDistance> pairs;
  for (std::size_t k = 0; k < entries.size();) {
    std::size_t best = k;
    std::size_t end = k;
    while (end < entries.size() && entries[end].pair.a == entries[k].pair.a &&
           entries[end].pair.b == entries[k].pair.b) {
      if (entries[end].rank >= entries[best].rank) best = end;
      ++end;
    }
    pairs.push_back(entries[best].pair);
    k = end;
  }
  return pairs;
}

}  // namespace ostrel
