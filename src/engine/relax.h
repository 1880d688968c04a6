// One iteration of the relaxation: the forces that pull every edge to its target length and
// every face to its regular (or rhombus, or distorted hexagon) shape, then the update with
// momentum and re-centring. The face flags are decoded once per pass into flat arrays and each
// face's corners into corner rings (engine/corner_rings.h); the iteration itself works on those
// arrays, on the position tables' flat data and on the motion state the relaxation owns.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/model.h"
#include "engine/cancel.h"
#include "engine/corner_rings.h"
#include "engine/motion_state.h"
#include "settings/run_settings.h"

namespace ostrel {

// The regular polygon tables for n = 0..MaxCorners corners and step 0..MaxStep.
struct RegularPolygonTables {
  RegularPolygonTables();
  Table2<double> RegularShape{"RegularShape", MaxCorners + 1, MaxStep + 1};
  Table2<double> RegularInradius{"RegularInradius", MaxCorners + 1, MaxStep + 1};
  Table2<std::int16_t> StepInverse{"StepInverse", MaxCorners + 1, MaxStep + 1};
};
const RegularPolygonTables& regular_polygon_tables();

// Targets of one rhombus set ("D", "d" or "q" on four-corner faces).
struct RhombusSet {
  int count = 0;
  double short_target = 0.0;
  double long_target = 0.0;
  double theta = 0.0;      // fixed angle from ForceRhom..3; 0 when none
  RhombusDiagonals fixed;  // its diagonals when theta > 0
};

// Targets of one distorted hexagon set ("D" or "d" on six-corner faces).
struct HexagonSet {
  int count = 0;
  double pair_mean = 0.0;
  double odd_target = 0.0;
};

class Relaxation {
 public:
  static constexpr double kStepFactor = 0.001;

  // Decodes the faces and edges of the prepared model. `weaken_limit` as in the run settings.
  Relaxation(Model& model, const RunSettings& settings);

  // Local expansion (modes 3 and 4): whether its term runs, and the factor of each edge in
  // mode 4 (index 1..EdgeCount).
  void set_local_expansion(int mode, bool running, std::vector<double> edge_factors = {});
  bool local_expansion_running() const { return local_running_; }
  void stop_local_expansion();

  double momentum = 0.5;
  double shape_boost = 1.0;

  // One iteration at `iteration` (1-based); adds to deform (edges) and deforp (faces) and moves
  // the vertices. `regular_hexagons` is the RegHex option.
  void step(std::int64_t iteration, bool regular_hexagons, double& deform, double& deforp);

  // The deviations of the current positions without moving anything (the measurement of a
  // model written as entered).
  void measure(double& deform, double& deforp);

  // The global expansion pre-stage: at most 1000 iterations of the pair term over every vertex
  // pair, ending early once its deformation changes by less than 0.000001. `hop` is read by
  // vertex number; pairs at or beyond `limit` + 0.1 get no force. Returns the iterations run.
  // `cancel` is asked before every iteration: a model of thousands of vertices takes a while.
  int global_prestage(const Table2<float>& hop, double limit, const CancelCheck* cancel = nullptr);

  // Least and greatest z of the latest update (for the wire frame).
  double z_min() const { return z_min_; }
  double z_max() const { return z_max_; }

  // The shifts, velocities and previous positions, and the deviations of the last step.
  const MotionState& motion() const { return motion_; }
  // The vertices come to rest where the model has them (engine/motion_state.h).
  void reset_motion() { ostrel::reset_motion(motion_, model_); }

  const std::array<RhombusSet, 4>& rhombus_sets() const { return rhombus_; }
  const std::array<HexagonSet, 3>& hexagon_sets() const { return hexagon_; }

 private:
  void edge_term(double& deform, bool move);
  void shape_statistics(bool regular_hexagons);
  void face_term(bool regular_hexagons, double& deforp, bool move);
  double rhombus_force(const RingFace& face, const int* ring, const VertexArrays& at,
                       double weight, bool move) const;
  double hexagon_force(int hexagon, const int* ring, const VertexArrays& at, double weight,
                       bool move) const;
  void local_expansion_term();
  void update();

  Model& model_;
  MotionState motion_;
  const RegularPolygonTables& tables_;
  int first_ = 0;
  int last_ = -1;
  int extent_ = -1;  // the greatest vertex number read: last_, or an edge end or corner beyond
  double weaken_limit_ = 99.0;

  // The edges that take the edge force, in edge order: not both faces free of forces ("n" or
  // "N"). edge_index_ is the edge's number.
  std::vector<int> edge_index_, edge_a_, edge_b_, edge_class_;
  std::vector<double> edge_target_;

  // Faces 0..F-1 with their corner vertices in face_corner_[face_offset_[f] .. + sides).
  std::vector<int> face_offset_, face_sides_, face_step_, face_corner_;
  std::vector<char> face_rhombus_;   // 0, or set 1 ("D"), 2 ("d"), 3 ("q") on four corners
  std::vector<char> face_hexagon_;   // 0, or set 1 ("D"), 2 ("d") on six corners
  std::vector<char> face_sets_;      // bits 1 "D", 2 "d", 4 "q" (the rhombus and hexagon sets)
  std::vector<char> vertex_v_;       // by vertex number: carries "v"
  std::vector<int> shaped_faces_;    // the faces with a rhombus or hexagon set, in face order
  CornerRings rings_;

  std::array<RhombusSet, 4> rhombus_{};
  std::array<HexagonSet, 3> hexagon_{};

  int local_mode_ = 0;
  bool local_running_ = false;
  std::vector<double> edge_factor_;

  double z_min_ = 0.0;
  double z_max_ = 0.0;
};

}  // namespace ostrel
