// What the two halves of a run share: the passes and attempts (Run, engine/run_state.h) and the
// taking and writing of isomorphs (IsomorphFinish, engine/run_finish.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/model.h"
#include "engine/attempt.h"
#include "engine/error_recovery.h"
#include "engine/relax.h"
#include "engine/run.h"
#include "engine/run_output.h"
#include "output/segmented.h"

namespace ostrel {

// How a stage leaves the run.
enum class Next { kGoOn, kNextIsomorph, kReread, kEnd };

struct RunState {
  RunState(const RunRequest& run_request, RunHost& run_host)
      : request(run_request), settings(run_request.settings), host(run_host), errors(run_host) {}

  const RunRequest& request;
  RunSettings settings;
  RunHost& host;
  RunErrorHandler errors;
  RunReport report;
  RunOutput output{request, settings, host, errors, report};
  // The run's model: what each pass reads and prepares, then the model of the attempt taken
  // last, with its relaxation.
  std::unique_ptr<Model> model;
  std::unique_ptr<Relaxation> relax;
  std::unique_ptr<DebugLog> debug_log;
  SegmentedModel segments;  // the segments relaxed so far, anchors, realm faces
  int segment_no = 1;       // the segment read next, from 1
  std::string text;         // the input as the pass read it
  std::string base_name;
  std::string duplicate_text = " ";
  RunFigures figures;  // of the isomorph being relaxed or written
  int attempts = 0;    // attempts taken in the run

  DebugLog* debug() { return debug_log.get(); }
  bool segmented() const { return settings.SegmentCount > 1; }
  bool attempts_left() const {
    return request.limits.attempts == 0 || attempts < request.limits.attempts;
  }
  // The model and relaxation of the attempt taken last (or of `attempt` when given), to write.
  WritePoint point(const std::string& name, Attempt* attempt = nullptr) {
    return {name, attempt ? attempt->model() : *model,
            attempt ? &attempt->relaxation() : relax.get(), segment_no, debug()};
  }
  void record(IsomorphOutcome outcome, std::vector<std::filesystem::path> files) {
    output.record(outcome, std::move(files), figures);
  }
  // The label under the progress window's picture.
  void show_duplicate(const std::string& label) {
    duplicate_text = label;
    host.duplicate_label(label);
  }
  Next stop_with(const std::string& message) {
    host.message(message);
    report.end = RunEnd::kError;
    return Next::kEnd;
  }
  void append_debug(const std::vector<std::string>& lines) {
    if (DebugLog* log = debug(); log && !lines.empty()) guarded([&] { log->append(lines); });
  }
  // Runs a debug-log write; a failure goes to the error handler and switches the log off, so
  // that one missing folder is reported once, not at every line.
  template <class Action>
  void guarded(Action action) {
    try {
      action();
    } catch (const RunError& error) {
      debug_log.reset();
      errors.recover(error);
    }
  }
};

}  // namespace ostrel
