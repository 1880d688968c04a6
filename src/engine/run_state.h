// One run: its passes (read, prepare) and its attempts, one after the other or run ahead on
// other threads (run.cpp). It shares its state (RunState, engine/run_shared.h) with the taking
// of the attempts and the writing of their isomorphs (IsomorphFinish, engine/run_finish.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/model.h"
#include "engine/attempt.h"
#include "engine/attempt_pool.h"
#include "engine/run.h"
#include "engine/run_finish.h"
#include "engine/run_shared.h"
#include "prepare/edge_table.h"
#include "prepare/fixed_distances.h"
#include "prepare/graph_distances.h"
#include "prepare/inflation.h"
#include "prepare/isomorph.h"
#include "prepare/load_model.h"

namespace ostrel {

// Classic attempts of a pass that end unsettled one after the other before the attempts after
// them take a robust start; an attempt that settles (new or duplicate) keeps the search classic.
inline constexpr int kClassicAttempts = 2;
// An attempt that ends sooner than this is not worth running others ahead of it: starting a
// thread and copying the model would cost more than it saves.
inline constexpr double kWorthRunningAhead = 0.005;  // seconds

class Run final : public AttemptObserver {
 public:
  Run(const RunRequest& request, RunHost& host);
  RunReport execute();

  // --- the observer of the attempts the run relaxes itself ---
  AttemptEnd poll(Attempt& attempt) override;
  bool knows_duplicates() const override { return true; }
  bool is_duplicate(double value) override;
  void duplicate_label(const std::string& text) override;

 private:
  // --- run.cpp: passes and attempts ---
  Next pass();
  Next after_reading(const LoadResult& loaded);
  Next take_preparation(LoadResult& loaded);
  Next isomorphs();
  AttemptPlan plan(int number, int in_pass) const;
  std::unique_ptr<Attempt> make_attempt(const AttemptPlan& plan, bool first_of_pass,
                                        int threads);
  void run_ahead(int number, int in_pass);
  void ensure_robust_data();
  bool idle_while_waiting(const Attempt& attempt);
  bool ask_during_start();
  void count_outcome(std::size_t reported_before);
  void report_nothing_settled();

  RunState s_;
  IsomorphFinish finish_{s_};  // takes the attempts, writes their isomorphs
  int jobs_ = 1;
  std::unique_ptr<VertexLinkTable> links_;
  std::unique_ptr<HopDistanceTable> hop_;
  std::unique_ptr<GraphDistances> distances_;  // made before the first robust start of a pass
  std::vector<FixedDistance> fixed_;           // likewise
  AttemptPool pool_;                           // attempts run ahead
  bool input_is_off_ = false;                  // the input read last was an OFF file
  int kept_mode_ = kExpandGlobal;
  bool debug_started_ = false;
  bool escalated_ = false;  // the note that attempts now take a robust start was given
  bool robust_in_pass_ = false;  // this pass's attempts take a robust start
  int unsettled_in_row_ = 0;     // classic attempts of this pass ended unsettled one after another
  double last_attempt_seconds_ = 0.0;  // how long the attempt taken last ran on this thread
  std::atomic<bool> cancel_{false};    // the run is called off: every attempt stops
  Attempt* starting_ = nullptr;  // the attempt whose start runs on the run's own thread
  ButtonPresses pending_;  // pressed while a start ran, for the next poll (Quit acted on at once)
  // The run's random stream: draws taken by the attempts taken so far, and what one attempt of
  // this pass takes (the first, which may use the input's starting positions, and the others).
  std::uint64_t stream_taken_ = 0;
  std::uint64_t first_draws_ = 0;
  std::uint64_t later_draws_ = 0;
  int first_attempt_of_pass_ = 1;  // attempt number of the pass's first attempt
  std::uint64_t seed_ = 0;
  AttemptEnd waiting_end_ = AttemptEnd::kFinished;  // a button pressed while waiting
};

}  // namespace ostrel
