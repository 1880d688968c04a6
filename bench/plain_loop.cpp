#include "plain_loop.h"

#include <algorithm>
#include <cmath>

#include "engine/relax.h"

namespace ostrel::bench {

PlainLoop::PlainLoop(const Model& model, const RunSettings& settings) {
  first_ = std::max(model.FirstVertex, 0);
  last_ = model.LastVertex;
  const auto size = static_cast<std::size_t>(last_ + 1);
  x.resize(size);
  y.resize(size);
  z.resize(size);
  velocity_x.assign(size, 0.0);
  velocity_y.assign(size, 0.0);
  velocity_z.assign(size, 0.0);
  shift_x_.assign(size, 0.0);
  shift_y_.assign(size, 0.0);
  shift_z_.assign(size, 0.0);
  for (int v = first_; v <= last_; ++v) {
    x[static_cast<std::size_t>(v)] = model.VertexX(v);
    y[static_cast<std::size_t>(v)] = model.VertexY(v);
    z[static_cast<std::size_t>(v)] = model.VertexZ(v);
  }
  for (int e = 1; e <= model.EdgeCount; ++e) {
    edge_a_.push_back(model.EdgeVertices(e, 1));
    edge_b_.push_back(model.EdgeVertices(e, 2));
    edge_target_.push_back(model.EdgeTarget(e));
    edge_strength_.push_back(model.ForceStrength(model.EdgeClass(e)));
  }
  const RegularPolygonTables& tables = regular_polygon_tables();
  const double weak = model.ForceStrength(4) * model.ForceStrength(1) / model.ForceStrength(2);
  const double scale = Relaxation::kStepFactor * 1.0;
  for (int f = 1; f <= model.FaceCount; ++f) {
    const int n = model.FaceSides(f);
    if (n < 4) continue;
    const int h = n / 2;
    const bool wide = n >= 6;
    face_sides_.push_back(n);
    face_wide_.push_back(wide);
    face_far_.push_back(n % 2 == 1 ? 2 : wide ? 3 : 1);
    face_weight_.push_back(scale * (n <= settings.weaken_limit() ? weak : model.ForceStrength(4)));
    double wanted = tables.RegularShape(n, 1);
    if (model.FaceStep(f) > 1) wanted *= tables.RegularShape(n, model.FaceStep(f));
    face_wanted_.push_back(wanted);
    auto corner = [&](int k) { return model.FaceVertices(f, (k % n + n) % n + 1); };
    for (int k = 0; k < n; ++k) {
      const int odd_far = n % 2 == 1 ? corner(k - h) : corner(k + h - 1);
      for (int slot : {corner(k), corner(k - 1), corner(k + 1), corner(k - 2), corner(k + 2),
                       corner(k + h), odd_far, corner(k + h + 1)}) {
        ring_.push_back(slot);
      }
    }
  }
}

double PlainLoop::step() {
  double* sx = shift_x_.data();
  double* sy = shift_y_.data();
  double* sz = shift_z_.data();
  for (int v = first_; v <= last_; ++v) sx[v] = sy[v] = sz[v] = 0.0;
  double deviation = 0.0;

  for (std::size_t e = 0; e < edge_a_.size(); ++e) {
    const int a = edge_a_[e];
    const int b = edge_b_[e];
    const double dx = x[a] - x[b];
    const double dy = y[a] - y[b];
    const double dz = z[a] - z[b];
    const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double stretch = l - edge_target_[e];
    deviation += std::fabs(stretch);
    if (l == 0.0) continue;
    const double s = stretch * Relaxation::kStepFactor * edge_strength_[e] / l;
    sx[a] -= s * dx;
    sy[a] -= s * dy;
    sz[a] -= s * dz;
    sx[b] += s * dx;
    sy[b] += s * dy;
    sz[b] += s * dz;
  }

  const int* r = ring_.data();
  for (std::size_t f = 0; f < face_sides_.size(); ++f) {
    const double wanted = face_wanted_[f];
    const double weight = face_weight_[f];
    for (int k = 0; k < face_sides_[f]; ++k, r += 8) {
      double qx = (x[r[1]] + x[r[2]]) * 0.5;
      double qy = (y[r[1]] + y[r[2]]) * 0.5;
      double qz = (z[r[1]] + z[r[2]]) * 0.5;
      if (face_wide_[f]) {
        qx = (qx + (x[r[3]] + x[r[4]]) * 0.5) * 0.5;
        qy = (qy + (y[r[3]] + y[r[4]]) * 0.5) * 0.5;
        qz = (qz + (z[r[3]] + z[r[4]]) * 0.5) * 0.5;
      }
      double px = x[r[5]];
      double py = y[r[5]];
      double pz = z[r[5]];
      if (face_far_[f] == 2) {
        px = (px + x[r[6]]) * 0.5;
        py = (py + y[r[6]]) * 0.5;
        pz = (pz + z[r[6]]) * 0.5;
      } else if (face_far_[f] == 3) {
        px = (px + x[r[6]] + x[r[7]]) * (1.0 / 3.0);
        py = (py + y[r[6]] + y[r[7]]) * (1.0 / 3.0);
        pz = (pz + z[r[6]] + z[r[7]]) * (1.0 / 3.0);
      }
      const double dx = qx - px;
      const double dy = qy - py;
      const double dz = qz - pz;
      const double dl = std::sqrt(dx * dx + dy * dy + dz * dz);
      const double ratio = dl > 0.0 ? wanted / dl : 0.0;
      const int v = r[0];
      const double tx = px + dx * ratio - x[v];
      const double ty = py + dy * ratio - y[v];
      const double tz = pz + dz * ratio - z[v];
      const double g = std::sqrt(tx * tx + ty * ty + tz * tz);
      deviation += g;
      if (!(g > 0.0)) continue;
      sx[v] += weight * tx;
      sy[v] += weight * ty;
      sz[v] += weight * tz;
    }
  }

  double sum_x = 0.0;
  double sum_y = 0.0;
  double sum_z = 0.0;
  for (int v = first_; v <= last_; ++v) {
    velocity_x[v] = 0.5 * velocity_x[v] + sx[v];
    velocity_y[v] = 0.5 * velocity_y[v] + sy[v];
    velocity_z[v] = 0.5 * velocity_z[v] + sz[v];
    sum_x += x[v] += velocity_x[v];
    sum_y += y[v] += velocity_y[v];
    sum_z += z[v] += velocity_z[v];
  }
  const double count = last_ - first_ + 1;
  const double mean_x = sum_x / count;
  const double mean_y = sum_y / count;
  const double mean_z = sum_z / count;
  for (int v = first_; v <= last_; ++v) {
    x[v] -= mean_x;
    y[v] -= mean_y;
    z[v] -= mean_z;
  }
  return deviation;
}

}  // namespace ostrel::bench
