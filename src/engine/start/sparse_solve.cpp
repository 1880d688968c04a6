#include "engine/start/sparse_solve.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>

#include "engine/start/flat_positions.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

using Matrix = Eigen::SparseMatrix<double>;

double face_c(int sides) {
  return 2.0 * std::cos(2.0 * kPi / sides);
}

double distance_residual(const std::vector<double>& x, const ShapeTerms::Distance& d) {
  const double dx = x[3 * d.a] - x[3 * d.b];
  const double dy = x[3 * d.a + 1] - x[3 * d.b + 1];
  const double dz = x[3 * d.a + 2] - x[3 * d.b + 2];
  return std::sqrt(dx * dx + dy * dy + dz * dz) - d.target;
}

// The 3·sides residuals of one face at x, corner by corner, x y z each.
void face_residuals(const std::vector<double>& x, const ShapeTerms& terms,
                    const ShapeTerms::Face& face, std::vector<double>& out) {
  const int* c = &terms.corners[static_cast<std::size_t>(face.offset)];
  const int n = face.sides;
  const double cc = face_c(n);
  double mean[3] = {0.0, 0.0, 0.0};
  for (int k = 0; k < n; ++k) {
    for (int d = 0; d < 3; ++d) mean[d] += x[3 * c[k] + d] / n;
  }
  out.resize(3 * static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const int next = c[(k + 1) % n];
    const int previous = c[(k + n - 1) % n];
    for (int d = 0; d < 3; ++d) {
      out[3 * k + d] = face.weight * (x[3 * next + d] + x[3 * previous + d] - cc * x[3 * c[k] + d] -
                                      (2.0 - cc) * mean[d]);
    }
  }
}

class Problem {
 public:
  Problem(const std::vector<char>& free, const ShapeTerms& terms) : terms_(terms) {
    column_.assign(free.size(), -1);
    int unknowns = 0;
    for (std::size_t i = 0; i < free.size(); ++i) {
      if (free[i]) column_[i] = 3 * unknowns++;
    }
    unknowns_ = 3 * unknowns;
    for (std::size_t k = 0; k < terms.distances.size(); ++k) {
      const ShapeTerms::Distance& d = terms.distances[k];
      if (column_[static_cast<std::size_t>(d.a)] >= 0 ||
          column_[static_cast<std::size_t>(d.b)] >= 0)
        distances_.push_back(k);
    }
    for (std::size_t k = 0; k < terms.faces.size(); ++k) {
      const ShapeTerms::Face& face = terms.faces[k];
      for (int j = 0; j < face.sides; ++j) {
        if (column_[static_cast<std::size_t>(
                terms.corners[static_cast<std::size_t>(face.offset + j)])] >= 0) {
          faces_.push_back(k);
          break;
        }
      }
    }
  }

  int unknowns() const { return unknowns_; }
  const std::vector<int>& column() const { return column_; }

  double cost(const std::vector<double>& x) {
    double sum = 0.0;
    for (std::size_t k : distances_) {
      const double r = distance_residual(x, terms_.distances[k]);
      sum += r * r;
    }
    for (std::size_t k : faces_) {
      face_residuals(x, terms_, terms_.faces[k], work_);
      for (double r : work_) sum += r * r;
    }
    return 0.5 * sum;
  }

  // J (rows: the active terms in order; columns: the free coordinates) and the residuals r.
  void linearise(const std::vector<double>& x, Matrix& jacobian, Eigen::VectorXd& r) {
    triplets_.clear();
    values_.clear();
    int row = 0;
    for (std::size_t k : distances_) {
      const ShapeTerms::Distance& d = terms_.distances[k];
      double u[3];
      const double length = unit_direction(x, d.a, d.b, u);
      const int ca = column_[static_cast<std::size_t>(d.a)];
      const int cb = column_[static_cast<std::size_t>(d.b)];
      for (int c = 0; c < 3; ++c) {
        if (ca >= 0) triplets_.emplace_back(row, ca + c, u[c]);
        if (cb >= 0) triplets_.emplace_back(row, cb + c, -u[c]);
      }
      values_.push_back(length - d.target);
      ++row;
    }
    for (std::size_t k : faces_) {
      const ShapeTerms::Face& face = terms_.faces[k];
      const int* c = &terms_.corners[static_cast<std::size_t>(face.offset)];
      const int n = face.sides;
      const double cc = face_c(n);
      const double e = (2.0 - cc) / n;
      face_residuals(x, terms_, face, work_);
      for (int corner = 0; corner < n; ++corner) {
        for (int j = 0; j < n; ++j) {
          const int column = column_[static_cast<std::size_t>(c[j])];
          if (column < 0) continue;
          double coefficient = -e;
          if (j == (corner + 1) % n) coefficient += 1.0;
          if (j == (corner + n - 1) % n) coefficient += 1.0;
          if (j == corner) coefficient -= cc;
          coefficient *= face.weight;
          for (int d = 0; d < 3; ++d)
            triplets_.emplace_back(row + 3 * corner + d, column + d, coefficient);
        }
      }
      values_.insert(values_.end(), work_.begin(), work_.end());
      row += 3 * n;
    }
    jacobian.resize(row, unknowns_);
    jacobian.setFromTriplets(triplets_.begin(), triplets_.end());
    r = Eigen::Map<const Eigen::VectorXd>(values_.data(), static_cast<Eigen::Index>(row));
  }

 private:
  const ShapeTerms& terms_;
  std::vector<int> column_;  // first unknown of a free vertex, −1 for a fixed one
  int unknowns_ = 0;
  std::vector<std::size_t> distances_, faces_;  // the terms that reach a free vertex
  std::vector<Eigen::Triplet<double>> triplets_;
  std::vector<double> values_, work_;
};

}  // namespace

double shape_cost(const std::vector<double>& x, const ShapeTerms& terms) {
  double sum = 0.0;
  for (const ShapeTerms::Distance& d : terms.distances) {
    const double r = distance_residual(x, d);
    sum += r * r;
  }
  std::vector<double> work;
  for (const ShapeTerms::Face& face : terms.faces) {
    face_residuals(x, terms, face, work);
    for (double r : work) sum += r * r;
  }
  return 0.5 * sum;
}

SparseSolveResult sparse_solve(std::vector<double>& x, const std::vector<char>& free,
                               const ShapeTerms& terms, const CancelCheck* cancel, int max_steps,
                               std::atomic<double>* shown_cost) {
  SparseSolveResult result;
  Problem problem(free, terms);
  result.cost = problem.cost(x);
  if (problem.unknowns() == 0) return result;
  const auto stopped = [&] { return cancel && cancel->stopped(); };
  const std::vector<int>& column = problem.column();
  Matrix jacobian;
  Matrix normal;
  Eigen::VectorXd r;
  Eigen::VectorXd gradient;
  Eigen::VectorXd delta;
  Eigen::SimplicialLDLT<Matrix, Eigen::Lower, Eigen::AMDOrdering<int>> factor;
  std::vector<double> trial(x.size());
  double lambda = 1e-6;
  for (int step = 1; step <= max_steps; ++step) {
    if (stopped() || result.cost < 1e-28) break;
    const double cost = result.cost;
    problem.linearise(x, jacobian, r);
    gradient = jacobian.transpose() * r;
    normal = Matrix(jacobian.transpose()) * jacobian;
    factor.analyzePattern(normal);
    bool accepted = false;
    for (int attempt = 0; attempt < 12 && !accepted && !stopped(); ++attempt) {
      factor.setShift(lambda);
      factor.factorize(normal);
      if (factor.info() != Eigen::Success) {
        lambda *= 8.0;
        continue;
      }
      delta = factor.solve(-gradient);
      trial = x;
      for (std::size_t i = 0; i < column.size(); ++i) {
        if (column[i] < 0) continue;
        for (int d = 0; d < 3; ++d) trial[3 * i + d] += delta[column[i] + d];
      }
      const double trial_cost = problem.cost(trial);
      if (trial_cost < cost) {
        x.swap(trial);
        result.cost = trial_cost;
        lambda = std::max(lambda / 4.0, 1e-12);
        accepted = true;
      } else {
        lambda *= 8.0;
      }
    }
    result.steps = step;
    if (shown_cost) *shown_cost = result.cost;
    if (!accepted || result.cost > cost - 1e-6 * cost) break;  // no further progress
  }
  return result;
}

}  // namespace ostrel
