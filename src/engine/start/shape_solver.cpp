#include "engine/start/shape_solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/start/flat_positions.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// One distance residual: |x_a − x_b| − target (indices into the unknowns, vertex − first).
struct Residual {
  int a = 0;
  int b = 0;
  double target = 0.0;
};

// A regular face: its corners in outline order. Each corner k gives the residual vector
// x_{k+1} + x_{k−1} − 2 cos(2π/n) x_k − (2 − 2 cos(2π/n)) m (m the centroid), zero exactly
// when the corners lie in a plane on an (affinely) regular polygon. Unlike the chords, it
// notices a corner lifted out of the face's plane at once, not only at second order.
struct Face {
  int offset = 0;  // into corners_
  int sides = 0;
  double c = 0.0;  // 2 cos(2π/n)
};

using Block = std::array<double, 9>;

class Solver {
 public:
  Solver(Model& model, const std::vector<FixedDistance>& pairs, Repulsion* repulsion,
         const CancelCheck* cancel)
      : model_(model), repulsion_(repulsion), cancel_(cancel) {
    first_ = std::max(model.FirstVertex, 0);
    n_ = std::max(model.LastVertex - first_ + 1, 0);
    x_ = gather_positions(model, first_, n_);
    for (const FixedDistance& pair : pairs) {
      fixed_.push_back({pair.a - first_, pair.b - first_, pair.target});
    }
    for (int f = 1; f <= model.FaceCount; ++f) {
      const int sides = model.FaceSides(f);
      if (sides < 4 || model.FaceFlags(f).find_first_of("nNDdq") != std::string::npos) continue;
      bool inside = true;
      for (int k = 1; k <= sides; ++k) {
        const int v = model.FaceVertices(f, k);
        inside = inside && v >= first_ && v < first_ + n_;
      }
      if (!inside) continue;
      faces_.push_back(
          {static_cast<int>(corners_.size()), sides, 2.0 * std::cos(2.0 * kPi / sides)});
      for (int k = 1; k <= sides; ++k) corners_.push_back(model.FaceVertices(f, k) - first_);
    }
  }

  ShapeSolverResult run(int max_steps, std::atomic<double>* shown_cost) {
    ShapeSolverResult result;
    shown_cost_ = shown_cost;
    settle(max_steps, result);
    store();
    return result;
  }

 private:
  // Gauss-Newton steps on ½ Σ r² until they no longer lower it.
  void settle(int max_steps, ShapeSolverResult& result) {
    double lambda = 1e-4;
    std::vector<double> trial(x_.size());
    for (int step = 1; step <= max_steps; ++step) {
      if (stopped()) break;
      collect_residuals();
      const double cost = cost_at(x_);
      result.cost = cost;
      if (shown_cost_) *shown_cost_ = cost;
      if (cost < 1e-28) break;
      linearise();
      bool accepted = false;
      for (int attempt = 0; attempt < 12 && !accepted && !stopped(); ++attempt) {
        result.cg_iterations += solve_step(lambda);
        for (std::size_t k = 0; k < x_.size(); ++k) trial[k] = x_[k] + delta_[k];
        const double trial_cost = cost_at(trial);
        if (trial_cost < cost) {
          x_.swap(trial);
          lambda = std::max(lambda / 4.0, 1e-12);
          accepted = true;
          result.cost = trial_cost;
        } else {
          lambda *= 8.0;
        }
      }
      ++result.steps;
      if (!accepted || result.cost > cost - 1e-6 * std::fabs(cost)) break;  // no further progress
    }
    result.cost = cost_at(x_);
  }

  // The fixed distances, then the unrelated pairs closer than the reach (held at the reach from
  // inside only: a pair beyond it has no residual).
  void collect_residuals() {
    residuals_ = fixed_;
    held_from_ = residuals_.size();
    if (!repulsion_) return;
    for (int i = 0; i < n_; ++i) {
      model_.VertexX(first_ + i) = x_[3 * i];
      model_.VertexY(first_ + i) = x_[3 * i + 1];
      model_.VertexZ(first_ + i) = x_[3 * i + 2];
    }
    for (auto [a, b] : repulsion_->close_pairs(model_)) {
      residuals_.push_back({a - first_, b - first_, repulsion_->reach()});
    }
  }

  double distance_residual(const std::vector<double>& x, std::size_t k) const {
    const Residual& r = residuals_[k];
    const double dx = x[3 * r.a] - x[3 * r.b];
    const double dy = x[3 * r.a + 1] - x[3 * r.b + 1];
    const double dz = x[3 * r.a + 2] - x[3 * r.b + 2];
    const double value = std::sqrt(dx * dx + dy * dy + dz * dz) - r.target;
    return k >= held_from_ ? std::min(value, 0.0) : value;
  }

  // The face residuals of face `face` for the values v (positions or a direction), added into
  // out (3 per corner) — they are linear in v.
  void face_residuals(const Face& face, const std::vector<double>& v, double* out) const {
    const int* c = &corners_[static_cast<std::size_t>(face.offset)];
    const int n = face.sides;
    std::array<double, 3> mean{};
    for (int k = 0; k < n; ++k) {
      for (int d = 0; d < 3; ++d) mean[static_cast<std::size_t>(d)] += v[3 * c[k] + d] / n;
    }
    for (int k = 0; k < n; ++k) {
      const int next = c[(k + 1) % n];
      const int previous = c[(k + n - 1) % n];
      for (int d = 0; d < 3; ++d) {
        out[3 * k + d] = v[3 * next + d] + v[3 * previous + d] - face.c * v[3 * c[k] + d] -
                         (2.0 - face.c) * mean[static_cast<std::size_t>(d)];
      }
    }
  }

  // Adds Jᵀ w of one face's residuals w (3 per corner) to out.
  void face_transpose(const Face& face, const double* w, std::vector<double>& out) const {
    const int* c = &corners_[static_cast<std::size_t>(face.offset)];
    const int n = face.sides;
    std::array<double, 3> total{};
    for (int k = 0; k < n; ++k) {
      const int next = c[(k + 1) % n];
      const int previous = c[(k + n - 1) % n];
      for (int d = 0; d < 3; ++d) {
        const double value = w[3 * k + d];
        out[3 * next + d] += value;
        out[3 * previous + d] += value;
        out[3 * c[k] + d] -= face.c * value;
        total[static_cast<std::size_t>(d)] += value;
      }
    }
    const double share = (2.0 - face.c) / n;
    for (int k = 0; k < n; ++k) {
      for (int d = 0; d < 3; ++d) out[3 * c[k] + d] -= share * total[static_cast<std::size_t>(d)];
    }
  }

  double cost_at(const std::vector<double>& x) {
    double cost = 0.0;
    for (std::size_t k = 0; k < residuals_.size(); ++k) {
      const double value = distance_residual(x, k);
      cost += value * value;
    }
    for (const Face& face : faces_) {
      face_work_.resize(3 * static_cast<std::size_t>(face.sides));
      face_residuals(face, x, face_work_.data());
      for (double value : face_work_) cost += value * value;
    }
    return 0.5 * cost;
  }

  // Unit direction and value of every distance residual, the face residuals, the gradient
  // Jᵀ r and the diagonal blocks of JᵀJ at the current positions.
  void linearise() {
    units_.resize(3 * residuals_.size());
    values_.resize(residuals_.size());
    gradient_.assign(x_.size(), 0.0);
    blocks_.assign(static_cast<std::size_t>(n_), Block{});
    for (std::size_t k = 0; k < residuals_.size(); ++k) {
      const Residual& r = residuals_[k];
      double u[3];
      unit_direction(x_, r.a, r.b, u);
      values_[k] = distance_residual(x_, k);
      for (int c = 0; c < 3; ++c) units_[3 * k + c] = u[c];
      if (k >= held_from_ && values_[k] >= 0.0) continue;  // a held-off pair at rest
      for (int c = 0; c < 3; ++c) {
        gradient_[3 * r.a + c] += values_[k] * u[c];
        gradient_[3 * r.b + c] -= values_[k] * u[c];
        for (int e = 0; e < 3; ++e) {
          blocks_[static_cast<std::size_t>(r.a)][static_cast<std::size_t>(3 * c + e)] +=
              u[c] * u[e];
          blocks_[static_cast<std::size_t>(r.b)][static_cast<std::size_t>(3 * c + e)] +=
              u[c] * u[e];
        }
      }
    }
    face_values_.clear();
    for (const Face& face : faces_) {
      const std::size_t at = face_values_.size();
      face_values_.resize(at + 3 * static_cast<std::size_t>(face.sides));
      face_residuals(face, x_, &face_values_[at]);
      face_transpose(face, &face_values_[at], gradient_);
      // Diagonal weight of a corner: its coefficients in the face's residuals, squared.
      const double e = (2.0 - face.c) / face.sides;
      const double own =
          (face.c + e) * (face.c + e) + 2.0 * (1.0 - e) * (1.0 - e) + (face.sides - 3) * e * e;
      for (int k = 0; k < face.sides; ++k) {
        Block& block =
            blocks_[static_cast<std::size_t>(corners_[static_cast<std::size_t>(face.offset + k)])];
        block[0] += own;
        block[4] += own;
        block[8] += own;
      }
    }
  }

  // out = (JᵀJ + λ I) v.
  void normal_product(double lambda, const std::vector<double>& v, std::vector<double>& out) {
    for (std::size_t k = 0; k < v.size(); ++k) out[k] = lambda * v[k];
    for (std::size_t k = 0; k < residuals_.size(); ++k) {
      if (k >= held_from_ && values_[k] >= 0.0) continue;
      const Residual& r = residuals_[k];
      const double* u = &units_[3 * k];
      const double s = u[0] * (v[3 * r.a] - v[3 * r.b]) + u[1] * (v[3 * r.a + 1] - v[3 * r.b + 1]) +
                       u[2] * (v[3 * r.a + 2] - v[3 * r.b + 2]);
      for (int c = 0; c < 3; ++c) {
        out[3 * r.a + c] += s * u[c];
        out[3 * r.b + c] -= s * u[c];
      }
    }
    for (const Face& face : faces_) {
      face_work_.resize(3 * static_cast<std::size_t>(face.sides));
      face_residuals(face, v, face_work_.data());
      face_transpose(face, face_work_.data(), out);
    }
  }

  // The inverses of the diagonal blocks of JᵀJ + λ I: the preconditioner.
  void invert_blocks(double lambda) {
    inverses_.resize(blocks_.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
      Block m = blocks_[i];
      m[0] += lambda;
      m[4] += lambda;
      m[8] += lambda;
      const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                         m[2] * (m[3] * m[7] - m[4] * m[6]);
      Block& inv = inverses_[i];
      if (!(std::fabs(det) > 1e-300)) {
        inv = Block{1, 0, 0, 0, 1, 0, 0, 0, 1};
        continue;
      }
      inv[0] = (m[4] * m[8] - m[5] * m[7]) / det;
      inv[1] = (m[2] * m[7] - m[1] * m[8]) / det;
      inv[2] = (m[1] * m[5] - m[2] * m[4]) / det;
      inv[3] = (m[5] * m[6] - m[3] * m[8]) / det;
      inv[4] = (m[0] * m[8] - m[2] * m[6]) / det;
      inv[5] = (m[2] * m[3] - m[0] * m[5]) / det;
      inv[6] = (m[3] * m[7] - m[4] * m[6]) / det;
      inv[7] = (m[1] * m[6] - m[0] * m[7]) / det;
      inv[8] = (m[0] * m[4] - m[1] * m[3]) / det;
    }
  }

  void precondition(const std::vector<double>& r, std::vector<double>& z) const {
    for (std::size_t i = 0; i < inverses_.size(); ++i) {
      const Block& m = inverses_[i];
      const double* v = &r[3 * i];
      z[3 * i] = m[0] * v[0] + m[1] * v[1] + m[2] * v[2];
      z[3 * i + 1] = m[3] * v[0] + m[4] * v[1] + m[5] * v[2];
      z[3 * i + 2] = m[6] * v[0] + m[7] * v[1] + m[8] * v[2];
    }
  }

  // Solves (JᵀJ + λ I) δ = −Jᵀ r by preconditioned conjugate gradients from δ = 0. Returns the
  // iterations.
  int solve_step(double lambda) {
    const std::size_t size = x_.size();
    invert_blocks(lambda);
    delta_.assign(size, 0.0);
    residual_.resize(size);
    preconditioned_.resize(size);
    product_.resize(size);
    for (std::size_t k = 0; k < size; ++k) residual_[k] = -gradient_[k];
    precondition(residual_, preconditioned_);
    direction_ = preconditioned_;
    double rz = 0.0;
    double rr0 = 0.0;
    for (std::size_t k = 0; k < size; ++k) {
      rz += residual_[k] * preconditioned_[k];
      rr0 += residual_[k] * residual_[k];
    }
    const int limit = std::max(100, static_cast<int>(std::min<std::size_t>(size, 3000)));
    int iterations = 0;
    double rr = rr0;
    while (iterations < limit && rr > rr0 * 1e-24 && rr > 1e-300) {
      if (stopped()) break;
      ++iterations;
      normal_product(lambda, direction_, product_);
      double dp = 0.0;
      for (std::size_t k = 0; k < size; ++k) dp += direction_[k] * product_[k];
      if (!(dp > 0.0)) break;
      const double alpha = rz / dp;
      rr = 0.0;
      for (std::size_t k = 0; k < size; ++k) {
        delta_[k] += alpha * direction_[k];
        residual_[k] -= alpha * product_[k];
        rr += residual_[k] * residual_[k];
      }
      precondition(residual_, preconditioned_);
      double next_rz = 0.0;
      for (std::size_t k = 0; k < size; ++k) next_rz += residual_[k] * preconditioned_[k];
      const double beta = next_rz / rz;
      rz = next_rz;
      for (std::size_t k = 0; k < size; ++k)
        direction_[k] = preconditioned_[k] + beta * direction_[k];
    }
    return iterations;
  }

  void store() {
    for (int i = 0; i < n_; ++i) {
      const int v = first_ + i;
      model_.VertexX(v) = x_[3 * i];
      model_.VertexY(v) = x_[3 * i + 1];
      model_.VertexZ(v) = x_[3 * i + 2];
    }
  }

  Model& model_;
  Repulsion* repulsion_;
  bool stopped() const { return cancel_ && cancel_->stopped(); }
  const CancelCheck* cancel_;
  std::atomic<double>* shown_cost_ = nullptr;
  int first_ = 0;
  int n_ = 0;
  std::vector<double> x_;
  std::vector<Residual> fixed_;
  std::vector<Residual> residuals_;
  std::size_t held_from_ = 0;  // residuals from here on are held-off pairs
  std::vector<Face> faces_;
  std::vector<int> corners_;
  std::vector<double> units_, values_, gradient_, delta_, residual_, preconditioned_, direction_,
      product_, face_values_, face_work_;
  std::vector<Block> blocks_, inverses_;
};

}  // namespace

ShapeSolverResult solve_shape(Model& model, const std::vector<FixedDistance>& pairs,
                              Repulsion* repulsion, const CancelCheck* cancel,
                              int max_steps, std::atomic<double>* shown_cost) {
  Solver solver(model, pairs, repulsion, cancel);
  return solver.run(max_steps, shown_cost);
}

}  // namespace ostrel
