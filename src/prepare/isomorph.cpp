#include "prepare/isomorph.h"

#include <algorithm>
#include <cmath>

#include "core/flag_letters.h"

namespace ostrel {

Signature isomorph_signature(const Model& model, bool isomorph_weight, bool allow_coincidence) {
  Signature signature;
  const int first = std::max(model.FirstVertex, 0);
  const int last = model.LastVertex;
  const double* x = model.VertexX.data();
  const double* y = model.VertexY.data();
  const double* z = model.VertexZ.data();
  for (int v = first; v <= last; ++v) {
    const double weight = isomorph_weight ? v + 1.0 : 1.0;
    for (int w = v + 1; w <= last; ++w) {
      double dx = x[v] - x[w];
      double dy = y[v] - y[w];
      double dz = z[v] - z[w];
      double m = (dx * dx + dy * dy + dz * dz) * weight;
      if (!allow_coincidence) {
        if (m > 0.0000001) {
          m = std::sqrt(m);
        } else {
          signature.coincident = true;
        }
      }
      signature.value += m;
    }
  }
  return signature;
}

bool mark_centroid_vertices(Model& model) {
  int found = 0;
  for (int v = std::max(model.FirstVertex, 0); v <= model.LastVertex; ++v) {
    model.CentroidMark(v) = 0;
    if (!has_letter(model.VertexFlags(v), 'C')) continue;
    ++found;
    if (found <= 4) model.CentroidMark(v) = static_cast<std::int16_t>(found);
  }
  return found == 0 || found == 4;
}

double scene_radius(const Model& model) {
  double cx = 0.0;
  double cy = 0.0;
  double cz = 0.0;
  int marked = 0;
  const int first = std::max(model.FirstVertex, 0);
  for (int v = first; v <= model.LastVertex; ++v) {
    if (model.CentroidMark(v) <= 0) continue;
    cx += model.VertexX(v);
    cy += model.VertexY(v);
    cz += model.VertexZ(v);
    ++marked;
  }
  if (marked > 0) {
    cx /= marked;
    cy /= marked;
    cz /= marked;
  }
  double radius = 0.0;
  for (int v = first; v <= model.LastVertex; ++v) {
    double dx = model.VertexX(v) - cx;
    double dy = model.VertexY(v) - cy;
    double dz = model.VertexZ(v) - cz;
    radius = std::max(radius, std::sqrt(dx * dx + dy * dy + dz * dz));
  }
  return radius;
}

}  // namespace ostrel
