// When an isomorph is finished. After every step the run asks, in this order: the iteration
// limit; the end of local expansion and the three iterations that follow it; in run mode 2 a
// Deform that no longer improves (against the last iteration and ten iterations ago) or falls
// too slowly to settle within the iteration limit; in run mode 3 the countdown of a weakened
// run; after a robust start, a model settled to the last bits. A model that has stopped moving
// altogether goes through the stall test instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

// The state of one iteration, as the convergence rules read it.
struct StepState {
  std::int64_t iteration = 0;      // IterationNo, from 1
  double deform = 0.0;             // Deform after the step
  double change = 0.0;             // |Deform − Deform of the iteration before|
  double deforp = 0.0;             // Deforp after the step
  bool found = false;              // the isomorph's signature has been taken
  bool expansion_running = false;  // the local expansion term still runs
  int mode = 0;                    // expansion mode in force (ExpansionMode)
};

struct StepVerdict {
  bool stop_expansion = false;  // local expansion has done its work: stop its term now
  bool finished = false;        // the isomorph is finished
};

// Outcome of the stall test at one iteration.
struct StallVerdict {
  bool due = false;        // 100 iterations have passed since the model stopped moving
  bool improving = false;  // the sum of Deform and Deforp is lower than it was then
  std::int64_t since = 0;  // the iteration at which it stopped moving
  double gain = 0.0;       // sum now minus sum then
};

class Convergence {
 public:
  Convergence(int run_mode, std::int64_t iteration_limit)
      : run_mode_(run_mode), limit_(iteration_limit) {}

  // A new isomorph starts.
  void start();

  // The isomorph took a robust start, on a model of `edges` edges and `faces` faces. Such a
  // start settles to the last bits: once its signature has been taken and Deform is below
  // edges × 1e-12 and Deforp below faces × 1e-12 (at least 1e-12), it is finished (the stall
  // test waits for a model that no longer moves at all, which the rounding of a large model
  // never allows).
  void settle_to_last_bits(int edges, int faces) {
    robust_edges_ = edges;
    robust_faces_ = faces;
    robust_ = true;
  }

  // Whether a finished isomorph has settled, so that it may be written as new: Deform below
  // edges × 1e-12, or any isomorph of run mode 3 (a weakened run).
  static bool settled(double deform, int edges, int run_mode) {
    return deform < edges / 1000000000000.0 || run_mode == 3;
  }

  // Before the step of `iteration`: keeps Deform in the ring of the last ten values.
  void record(std::int64_t iteration, double deform) {
    ring_[static_cast<std::size_t>(iteration % 10)] = deform;
  }

  StepVerdict after_step(const StepState& state);

  // The stall test: once Deform and Deforp together move by less than 1e-15 in an iteration,
  // the model is written 100 iterations later unless their sum has gone down meanwhile (then the
  // test starts again from there). `moved` is that iteration's change of the two.
  StallVerdict stall_test(std::int64_t iteration, double deform, double deforp, double moved);

  std::int64_t limit() const { return limit_; }

 private:
  bool crawling(const StepState& state);

  int run_mode_;
  std::int64_t limit_;
  bool robust_ = false;
  int robust_edges_ = 0;
  int robust_faces_ = 0;
  std::array<double, 10> ring_{};
  int ended_mode_ = 0;  // expansion mode that ended; > 2 for local expansion
  int countdown_ = 0;
  std::int64_t stall_iteration_ = -1;
  double stall_value_ = 0.0;
  double window_least_ = -1.0;       // least Deform since the last power of two of the iterations
  double last_window_least_ = -1.0;  // least Deform of the window before
};

}  // namespace ostrel
