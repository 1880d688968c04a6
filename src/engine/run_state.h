// The state of one run, shared by the files that carry it out: run.cpp (the passes and the
// attempts) and run_finish.cpp (taking a finished attempt, writing the output files).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/model.h"
#include "engine/attempt.h"
#include "engine/attempt_pool.h"
#include "engine/error_recovery.h"
#include "engine/relax.h"
#include "engine/run.h"
#include "engine/run_output.h"
#include "output/file_set.h"
#include "output/segmented.h"
#include "prepare/edge_table.h"
#include "prepare/fixed_distances.h"
#include "prepare/graph_distances.h"
#include "prepare/inflation.h"
#include "prepare/isomorph.h"
#include "prepare/load_model.h"

namespace ostrel {

// How a stage leaves the run.
enum class Next { kGoOn, kNextIsomorph, kReread, kEnd };

inline constexpr int kMaxIsomorphs = 500;
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

  // --- run_finish.cpp: taking attempts, writing ---
  Next take(std::unique_ptr<Attempt> attempt, AttemptEnd end, bool ran_ahead);
  Next finish_isomorph();
  Next next_isomorph();
  Next write_segmented(bool read_realms, const std::string& unclosed_message = {});
  Next write_as_entered(Attempt& attempt);
  Next write_and_end(const std::string& code, const std::string& text);
  Signature compute_signature();
  // The model and relaxation of the attempt taken last (or of `attempt` when given), to write.
  WritePoint point(const std::string& name, Attempt* attempt = nullptr);
  void record_isomorph(IsomorphOutcome outcome, std::vector<std::filesystem::path> files) {
    output_.record(outcome, std::move(files), figures_);
  }
  Next stop_with(const std::string& message);
  void append_debug(const std::vector<std::string>& lines);
  DebugLog* debug() { return debug_.get(); }
  bool segmented() const { return settings_.SegmentCount > 1; }
  bool attempts_left() const {
    return request_.limits.attempts == 0 || attempts_ < request_.limits.attempts;
  }

  // Runs a debug-log write; a failure goes to the error handler and switches the log off, so
  // that one missing folder is reported once, not at every line.
  template <class Action>
  void guarded(Action action) {
    try {
      action();
    } catch (const RunError& error) {
      debug_.reset();
      errors_.recover(error);
    }
  }

  const RunRequest& request_;
  RunSettings settings_;
  RunHost& host_;
  RunErrorHandler errors_;
  RunReport report_;
  RunOutput output_{request_, settings_, host_, errors_, report_};
  int jobs_ = 1;
  std::unique_ptr<Model> model_;
  std::unique_ptr<DebugLog> debug_;
  std::unique_ptr<VertexLinkTable> links_;
  std::unique_ptr<HopDistanceTable> hop_;
  std::unique_ptr<GraphDistances> distances_;  // made before the first robust start of a pass
  std::vector<FixedDistance> fixed_;           // likewise
  std::unique_ptr<Relaxation> relax_;          // of the attempt taken last
  AttemptPool pool_;                           // attempts run ahead
  SegmentedModel segmented_;                   // the segments relaxed so far, anchors, realm faces
  int segment_no_ = 1;                         // the segment read next, from 1
  bool input_is_off_ = false;                  // the input read last was an OFF file
  std::string text_;
  std::string base_name_;
  std::string output_name_;
  std::string duplicate_text_ = " ";

  RunFigures figures_;  // of the isomorph being relaxed or written
  std::array<double, kMaxIsomorphs + 1> signatures_{};
  int kept_mode_ = kExpandGlobal;
  bool found_ = false;
  bool debug_started_ = false;
  bool escalated_ = false;  // the note that attempts now take a robust start was given
  bool robust_in_pass_ = false;  // this pass's attempts take a robust start
  int unsettled_in_row_ = 0;     // classic attempts of this pass ended unsettled one after another
  double last_attempt_seconds_ = 0.0;  // how long the attempt taken last ran on this thread
  std::atomic<bool> cancel_{false};    // the run is called off: every attempt stops
  Attempt* starting_ = nullptr;  // the attempt whose start runs on the run's own thread
  ButtonPresses pending_;  // pressed while a start ran, for the next poll (Quit acted on at once)
  int attempts_ = 0;        // attempts taken in the run
  int new_written_ = 0;
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
