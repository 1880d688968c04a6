// The plain reference loop: one relaxation step written as the simplest loop over flat arrays
// and precomputed corner rings, with no model store, no flags and no rhombus or hexagon cases.
// It is what the engine's step is measured against (BM_StepAgainstPlainLoop), and on a model
// without rhombus or hexagon sets, free faces or local inflation it gives the step's bits.
#pragma once

#include <vector>

#include "core/model.h"
#include "settings/run_settings.h"

namespace ostrel::bench {

class PlainLoop {
 public:
  // Copies the prepared model's edges, faces, force strengths and current positions; the
  // vertices start at rest, as a new Relaxation's do.
  PlainLoop(const Model& model, const RunSettings& settings);

  // Edge term, face term, then the update with momentum 0.5 and re-centring. Returns the sum
  // of the edges' deviations plus that of the faces'.
  double step();

  // Positions and velocities by vertex number.
  std::vector<double> x, y, z, velocity_x, velocity_y, velocity_z;

 private:
  int first_ = 0;
  int last_ = -1;
  std::vector<double> shift_x_, shift_y_, shift_z_;
  std::vector<int> edge_a_, edge_b_;
  std::vector<double> edge_target_, edge_strength_;
  // Faces of four corners or more: corner count, weight, |q - p| of the regular face, the wide
  // form (q from k±1 and k±2) and how many corners p averages (1, 2 or 3).
  std::vector<int> face_sides_, face_wide_, face_far_;
  std::vector<double> face_weight_, face_wanted_;
  // Eight slots per corner: k, k-1, k+1, k-2, k+2 and the far corners averaged into p.
  std::vector<int> ring_;
};

}  // namespace ostrel::bench
