// One attempt at an isomorph: its starting positions, the classic global pre-stage or a robust
// start, and its relaxation until the convergence rules end it. An attempt works on a model of
// its own and needs nothing of the attempts before it, so that several can run at once; the
// run takes their results in attempt order (engine/run.cpp).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/random.h"
#include "engine/cancel.h"
#include "engine/convergence.h"
#include "engine/relax.h"
#include "prepare/edge_table.h"
#include "prepare/fixed_distances.h"
#include "prepare/graph_distances.h"
#include "prepare/inflation.h"
#include "prepare/isomorph.h"
#include "settings/run_settings.h"

namespace ostrel {

// What every attempt of a pass reads and none changes.
struct PassData {
  const RunSettings* settings = nullptr;
  const VertexLinkTable* links = nullptr;
  const HopDistanceTable* hop = nullptr;  // the classic global inflation's targets, or null
  // For robust starts: the steps between vertices and the distances the model fixes.
  const GraphDistances* distances = nullptr;
  const std::vector<FixedDistance>* fixed = nullptr;
  int kept_mode = kExpandGlobal;  // the expansion mode the run starts every attempt in
  int threads = 1;                // for the pair sums of a robust start
  // The input is an OFF file whose coordinates start the pass's first attempt: the global
  // pre-stage, unless chosen, would blow them away, and a robust start settles from them first.
  bool off_coordinates = false;
  bool debug = false;             // keep lines for the debug log
};

// How an attempt is started.
struct AttemptPlan {
  int number = 1;             // counted over the run, from 1
  std::uint64_t seed = 0;     // the run's seed
  std::uint64_t skipped = 0;  // draws of the run's random stream that earlier attempts took
  bool robust = false;        // a robust start instead of the classic pre-stage
};

// The draws of the run's random stream one attempt takes (the local inflation values, then
// three for each vertex placed at random), so that attempt k's draws are known before the
// attempts before it have run.
// `start_slots` is the model's LastStartSlot when the attempt starts.
std::uint64_t attempt_draws(const Model& model, const RunSettings& settings, int start_slots);

// Why an attempt's relaxation stopped.
enum class AttemptEnd {
  kFinished,   // the convergence rules (or the stall test) ended it
  kDuplicate,  // it settled as an isomorph found before (only when the duplicate test is given)
  kQuit,       // the user quit
  kRedo,       // the user asked for the next isomorph: finished as it stands
  kReread,     // the user asked for the input to be read again
};

class Attempt;

// The buttons and the progress of an attempt. The run's own attempts ask the user; attempts
// run ahead on other threads only look whether they have been called off.
class AttemptObserver {
 public:
  virtual ~AttemptObserver() = default;
  // Every tenth iteration. Returns kFinished to go on, anything else to stop.
  virtual AttemptEnd poll(Attempt& attempt) = 0;
  // Whether a settled model's signature equals an earlier isomorph's; attempts that run ahead
  // cannot know (the attempts before them are not taken yet) and go on instead.
  virtual bool knows_duplicates() const { return false; }
  virtual bool is_duplicate(double /*signature*/) { return false; }
  // The label under the progress window's picture changed.
  virtual void duplicate_label(const std::string&) {}
};

class Attempt {
 public:
  // `model` is the attempt's own copy of the prepared model.
  Attempt(const PassData& pass, const AttemptPlan& plan, std::unique_ptr<Model> model);

  // Starting positions, then the pre-stage or the robust start.
  void start();
  // The relaxation until it ends; `observer` is polled every tenth iteration. A model whose
  // forces overshoot raises the overflow RunError.
  AttemptEnd relax(AttemptObserver& observer);

  // --- state, as the run and its host read it ---
  Model& model() { return *model_; }
  const Model& model() const { return *model_; }
  const Relaxation& relaxation() const { return *relax_; }
  // Hands the model and its relaxation over to the run (which writes from them).
  std::unique_ptr<Model> release_model() { return std::move(model_); }
  std::unique_ptr<Relaxation> release_relaxation() { return std::move(relax_); }
  const AttemptPlan& plan() const { return plan_; }
  std::int64_t iteration() const { return iteration_; }
  double deform() const { return deform_; }
  double deforp() const { return deforp_; }
  int mode() const { return mode_; }
  bool graphics() const { return graphics_; }
  void toggle_graphics() { graphics_ = !graphics_; }
  // Whether its signature has been taken: it settled below 0.001, or stopped moving.
  bool found() const { return found_; }
  // The signature taken when Deform first fell below 0.001, and where that was.
  struct FoundPoint {
    bool reached = false;
    std::int64_t iteration = 0;
    double deform = 0.0;
    double deforp = 0.0;
    Signature signature;
    std::vector<double> positions;  // x, y, z of every vertex FirstVertex..LastVertex
  };
  const FoundPoint& found_point() const { return found_point_; }
  // The input's starting positions were in force for this attempt.
  bool input_positions() const { return input_positions_; }
  // Lines for the debug log, in order; the run appends them when it takes the attempt.
  std::vector<std::string>& debug_lines() { return debug_lines_; }

  // Asked by every stage of the start (the build, the layout, each least-squares step); once it
  // says stop, the start ends where it is and relax() returns kQuit at once. Set by whoever runs
  // the attempt: the run for its own, the pool for those run ahead.
  const CancelCheck* cancel = nullptr;
  bool cancelled() const { return cancel && cancel->stopped(); }

  // Shared with the run's progress display while the attempt runs on another thread.
  std::atomic<std::int64_t> shown_iteration{0};
  std::atomic<double> shown_deform{0.0};
  std::atomic<double> shown_deforp{0.0};
  // While a robust start runs: its stage ("building", "laying out", "least squares"), null
  // before and after, and the cost the stage has reached (its largest miss, stress, or
  // least-squares cost; not a number until the stage has one).
  std::atomic<const char*> shown_stage{nullptr};
  std::atomic<double> shown_cost{0.0};

 private:
  void robust_start(Random& extra);
  bool from_off_coordinates() const { return pass_.off_coordinates && input_positions_; }

  PassData pass_;
  AttemptPlan plan_;
  std::unique_ptr<Model> model_;
  std::unique_ptr<Relaxation> relax_;
  Convergence convergence_;
  std::int64_t iteration_ = 0;
  double deform_ = 999.0;
  double deforp_ = 999.0;
  int mode_ = kExpandGlobal;
  bool graphics_ = true;
  bool found_ = false;
  bool robust_failed_ = false;
  bool start_cancelled_ = false;  // the robust start was called off
  bool input_positions_ = false;
  FoundPoint found_point_;
  std::vector<std::string> debug_lines_;
};

}  // namespace ostrel
