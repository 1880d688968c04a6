#include "engine/run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

#include "core/lenient_number.h"
#include "core/number_format.h"
#include "core/parallel.h"
#include "engine/cancel.h"
#include "engine/run_messages.h"
#include "engine/run_progress.h"
#include "engine/run_state.h"
#include "input/prescan.h"
#include "prepare/load_model.h"

namespace ostrel {

std::uint64_t clock_seed() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

Run::Run(const RunRequest& request, RunHost& host)
    : s_(request, host), jobs_(thread_count(request.jobs)) {
  seed_ = s_.report.seed = request.seed ? *request.seed : clock_seed();
  if (request.jobs > jobs_) {
    s_.host.message("Warning: " + std::to_string(request.jobs) + " jobs asked for, but only " +
                    std::to_string(jobs_) + (jobs_ == 1 ? " core is" : " cores are") +
                    " available: " + std::to_string(jobs_) + " used");
  }
}

RunReport Run::execute() {
  s_.model = std::make_unique<Model>();
  s_.model->start_run();
  try {
    Next next;
    do {
      next = pass();
    } while (next == Next::kReread);
  } catch (const RunStopped&) {
    s_.report.end = RunEnd::kError;
  } catch (const RunError& error) {
    s_.report.end = RunEnd::kError;
    try {
      s_.errors.recover(error);
    } catch (const RunStopped&) {
    }
  }
  pool_.cancel_all();
  return s_.report;
}

// --- one pass: read, prepare, relax isomorph by isomorph ---

Next Run::pass() {
  pool_.cancel_all();
  s_.base_name =
      s_.request.shape ? shape_base_name(*s_.request.shape) : input_base_name(s_.request.input);
  s_.figures.IsomorphNo = 1;
  finish_.start_pass();
  // The log is started once per run: the passes of a segmented model or a re-read add to it
  // instead of emptying what the earlier passes wrote.
  if (s_.settings.Debug && !debug_started_) {
    debug_started_ = true;
    s_.debug_log =
        std::make_unique<DebugLog>(s_.request.output_folder / (s_.base_name + "_debug.txt"));
    s_.guarded([&] { s_.debug_log->start(); });
  }
  if (std::string problem = segment_count_problem(s_.settings.SegmentCount); !problem.empty())
    return s_.stop_with(problem);
  for (int k = 1; k <= 6; ++k) s_.model->ForceStrength(k) = s_.settings.force_strength(k);
  s_.model->start_pass();
  s_.segments.store.start_pass();
  LoadRequest load;
  if (s_.request.shape) {
    load.shape = *s_.request.shape;
  } else {
    // Read afresh every pass: Re-Read is for a file the user has just changed.
    s_.text = read_input_file(s_.request.input);
    load.text = s_.text;
  }
  load.parse.SegmentCount = s_.settings.SegmentCount;
  load.parse.segment = s_.segment_no;
  load.parse.segments = &s_.segments.store;
  load.parse.OutputName = s_.base_name;
  load.parse.debug = s_.debug();
  load.parse.IgnoreCoordinates = s_.settings.IgnoreCoordinates;
  load.settings = &s_.settings;
  LoadResult loaded = load_model(*s_.model, load, s_.host, s_.debug());
  input_is_off_ = loaded.parsed.off_file;
  Next read = after_reading(loaded);
  if (read != Next::kGoOn) return read;
  Next prepared = take_preparation(loaded);
  if (prepared != Next::kGoOn) return prepared;
  return isomorphs();
}

Next Run::after_reading(const LoadResult& loaded) {
  // An anchor read as the last segment is followed by the realm section at once; without its
  // closing "]" the segments are written with the realm faces read, as after an ordinary last
  // segment.
  // Either way the anchor was the last segment: the segment count is passed.
  if (s_.segmented() && loaded.parsed.status == ParseStatus::kRealmSectionUnclosed) {
    ++s_.segment_no;
    return finish_.write_segmented(false, loaded.parsed.message);
  }
  if (!loaded.parsed.ok()) return s_.stop_with(loaded.parsed.message);
  if (s_.segmented()) {
    // An anchor segment is placed, not relaxed: the next pass reads the next segment; after the
    // last one the parser has read the realm section already.
    if (loaded.parsed.realms_read) {
      ++s_.segment_no;
      return finish_.write_segmented(false);
    }
    if (loaded.parsed.more_segments) {
      ++s_.segment_no;
      return Next::kReread;
    }
  }
  return Next::kGoOn;
}

Next Run::take_preparation(LoadResult& loaded) {
  if (!loaded.error.empty()) return s_.stop_with(loaded.error);
  PreparedModel& prepared = loaded.preparation;
  if (prepared.negative_square_roots > 0) {
    s_.errors.recover(RunError(kInvalidCall, "Invalid procedure call or argument",
                               "square root of " + std::to_string(prepared.negative_square_roots) +
                                   " negative hop values"));
  }
  links_ = std::move(prepared.links);
  s_.output.input_last_vertex = prepared.input_last_vertex;
  s_.output.collapse_answer = prepared.collapse_answer;
  hop_ = std::move(prepared.hop);
  distances_.reset();
  fixed_.clear();
  kept_mode_ = s_.settings.expansion_mode();
  s_.relax.reset();
  // Vertices above the last one with a neighbour take no part in the relaxation.
  s_.model->LastVertex = last_linked_vertex(*s_.model, *links_);
  return Next::kGoOn;
}

// --- isomorphs: one attempt after the other, later ones run ahead on other threads ---

Next Run::isomorphs() {
  first_attempt_of_pass_ = s_.attempts + 1;
  first_draws_ = attempt_draws(*s_.model, s_.settings, s_.model->LastStartSlot);
  later_draws_ = attempt_draws(*s_.model, s_.settings, 0);
  robust_in_pass_ = false;
  unsettled_in_row_ = 0;
  while (true) {
    if (s_.request.limits.attempts > 0 && s_.attempts >= s_.request.limits.attempts) {
      report_nothing_settled();
      return Next::kEnd;
    }
    if (cancel_.load()) {
      s_.report.end = RunEnd::kQuit;
      return Next::kEnd;
    }
    const int number = ++s_.attempts;
    const int in_pass = number - first_attempt_of_pass_ + 1;
    s_.duplicate_text = " ";
    s_.host.duplicate_label(s_.duplicate_text);
    s_.host.caption(s_.base_name + "_isom" + std::to_string(s_.figures.IsomorphNo));
    const AttemptPlan current = plan(number, in_pass);
    if (current.robust) ensure_robust_data();
    stream_taken_ += in_pass == 1 ? first_draws_ : later_draws_;
    // An attempt run ahead on a plan that no longer holds (the attempts before it escalated to
    // robust starts meanwhile) is started again as it should be.
    if (pool_.has(number) && pool_.plan(number).robust != current.robust) pool_.discard(number);
    const std::size_t reported_before = s_.report.isomorphs.size();
    Next next;
    if (pool_.has(number)) {
      waiting_end_ = AttemptEnd::kFinished;
      AttemptPool::Taken taken =
          pool_.take(number, [&](const Attempt& attempt) { return idle_while_waiting(attempt); });
      run_ahead(number, in_pass);
      if (taken.error) std::rethrow_exception(taken.error);
      if (taken.end == AttemptEnd::kQuit && waiting_end_ != AttemptEnd::kFinished) {
        taken.end = waiting_end_;
      }
      next = finish_.take(std::move(taken.attempt), taken.end, true);
    } else {
      const auto began = std::chrono::steady_clock::now();
      std::unique_ptr<Attempt> attempt = make_attempt(current, in_pass == 1, jobs_);
      run_ahead(number, in_pass);
      waiting_end_ = AttemptEnd::kFinished;
      const CancelCheck check(&cancel_, [this] { return ask_during_start(); });
      attempt->cancel = &check;
      starting_ = attempt.get();
      attempt->start();
      starting_ = nullptr;
      if (s_.settings.incord) return finish_.write_as_entered(*attempt);
      AttemptEnd end = attempt->relax(*this);
      if (end == AttemptEnd::kQuit && waiting_end_ != AttemptEnd::kFinished) end = waiting_end_;
      attempt->cancel = nullptr;
      last_attempt_seconds_ =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      next = finish_.take(std::move(attempt), end, false);
    }
    count_outcome(reported_before);
    if (next != Next::kNextIsomorph) {
      pool_.cancel_all();
      return next;
    }
  }
}

// At the attempt limit with nothing written: the best the attempts reached, and what it means.
void Run::report_nothing_settled() {
  if (!s_.report.files.empty() || s_.report.isomorphs.empty() || s_.segmented()) return;
  const IsomorphReport* best = &s_.report.isomorphs.front();
  for (const IsomorphReport& entry : s_.report.isomorphs) {
    if (entry.deform < best->deform) best = &entry;
  }
  s_.host.message(nothing_settled_message(s_.attempts, best->deform, best->deforp));
  s_.report.end = RunEnd::kError;
}

// Classic attempts that end unsettled one after the other turn the pass to robust starts.
void Run::count_outcome(std::size_t reported_before) {
  if (s_.report.isomorphs.size() <= reported_before || robust_in_pass_) return;
  if (s_.report.isomorphs.back().outcome != IsomorphOutcome::kUnsettled) {
    unsettled_in_row_ = 0;
    return;
  }
  if (++unsettled_in_row_ < kClassicAttempts) return;
  robust_in_pass_ = true;
  if (!escalated_ && kept_mode_ != kExpandStress && s_.attempts_left()) {
    escalated_ = true;
    const std::string note = "Attempt " + std::to_string(s_.attempts + 1) +
                             " and those after it start from a robust start";
    s_.host.note(note);
    s_.append_debug({"Escalation: " + note});
  }
}

AttemptPlan Run::plan(int number, int /*in_pass*/) const {
  AttemptPlan plan;
  plan.number = number;
  plan.seed = seed_;
  // Draws taken by the attempts before this one: the attempts taken, then those between the
  // current attempt (counted in stream_taken_ already when this one runs ahead) and this one.
  plan.skipped = stream_taken_;
  if (number > s_.attempts) {
    plan.skipped += static_cast<std::uint64_t>(number - s_.attempts - 1) * later_draws_;
  }
  // An attempt run ahead is planned as if the attempts before it leave the search as it is; when
  // it is taken, a plan that no longer holds sends it back (isomorphs()).
  const bool searching = !s_.settings.incord && (s_.settings.run_mode() == 2 || s_.segmented());
  plan.robust = kept_mode_ == kExpandStress || (searching && robust_in_pass_);
  return plan;
}

std::unique_ptr<Attempt> Run::make_attempt(const AttemptPlan& plan, bool first_of_pass,
                                           int threads) {
  auto model = std::make_unique<Model>(*s_.model);
  if (!first_of_pass) forget_starting_positions(*model);
  PassData pass;
  pass.settings = &s_.settings;
  pass.links = links_.get();
  pass.hop = hop_.get();
  pass.distances = distances_.get();
  pass.fixed = &fixed_;
  pass.kept_mode = kept_mode_;
  pass.threads = threads;
  pass.off_coordinates = first_of_pass && input_is_off_;
  pass.debug = s_.debug() != nullptr;
  return std::make_unique<Attempt>(pass, plan, std::move(model));
}

// Keeps the threads busy with the attempts after `number` (one thread is the run's own). Each
// runs its pair sums on its own thread. Attempts that end in a moment are not run ahead.
void Run::run_ahead(int number, int in_pass) {
  const bool searching = !s_.settings.incord && (s_.settings.run_mode() == 2 || s_.segmented());
  if (jobs_ < 2 || !searching) return;
  if (!robust_in_pass_ && last_attempt_seconds_ < kWorthRunningAhead) return;
  for (int ahead = number + 1; ahead < number + jobs_; ++ahead) {
    if (s_.request.limits.attempts > 0 && ahead > s_.request.limits.attempts) break;
    if (pool_.has(ahead)) continue;
    const AttemptPlan later = plan(ahead, in_pass + (ahead - number));
    if (later.robust) ensure_robust_data();
    pool_.launch(make_attempt(later, false, 1));
  }
}

void Run::ensure_robust_data() {
  if (distances_) return;
  const Model& model = *s_.model;
  distances_ = std::make_unique<GraphDistances>(graph_distances(model, *links_, model.LastVertex));
  fixed_ = fixed_distances(model, distances_->first, model.LastVertex);
}

// While an attempt that ran ahead is awaited: its progress, and Quit and Re-Read.
bool Run::idle_while_waiting(const Attempt& attempt) {
  s_.host.progress(waiting_progress(attempt, s_.figures.IsomorphNo, kept_mode_, s_.duplicate_text));
  const ButtonPresses pressed = s_.host.poll();
  if (pressed.quit) waiting_end_ = AttemptEnd::kQuit;
  if (pressed.reread) waiting_end_ = AttemptEnd::kReread;
  if (pressed.quit) cancel_ = true;
  return waiting_end_ == AttemptEnd::kFinished;
}

// While a start runs on the run's own thread: Quit and Re-Read call it off at once; the other
// buttons wait for the first poll of the relaxation.
bool Run::ask_during_start() {
  if (starting_)
    s_.host.progress(starting_progress(*starting_, s_.figures.IsomorphNo, s_.duplicate_text));
  const ButtonPresses pressed = s_.host.poll();
  keep_presses(pending_, pressed);
  if (pressed.quit) waiting_end_ = AttemptEnd::kQuit;
  if (pressed.reread) waiting_end_ = AttemptEnd::kReread;
  if (pressed.quit) cancel_ = true;
  return waiting_end_ != AttemptEnd::kFinished;
}

// Every tenth iteration of an attempt the run relaxes itself: show the state, then act on the
// buttons pressed since the last poll.
AttemptEnd Run::poll(Attempt& attempt) {
  s_.host.progress(relaxing_progress(attempt, s_.figures.IsomorphNo, s_.duplicate_text));
  ButtonPresses pressed = s_.host.poll();
  keep_presses(pressed, pending_);
  pending_ = {};
  if (pressed.quit) cancel_ = true;
  if (pressed.quit) return AttemptEnd::kQuit;
  if (pressed.write) {
    const std::string name = s_.base_name;
    s_.figures.IterationNo = attempt.iteration();
    s_.figures.Deform = attempt.deform();
    s_.figures.Deforp = attempt.deforp();
    auto files = s_.output.write(s_.point(name, &attempt), s_.figures);
    s_.record(IsomorphOutcome::kWritten, files);
    s_.output.announce("W12: " + name + " VRML files written", files);
  }
  if (pressed.graphics) attempt.toggle_graphics();
  if (pressed.more_f1 || pressed.less_f1) {
    // The attempts run ahead started with the forces as they were.
    pool_.cancel_all();
    if (pressed.more_f1) attempt.model().ForceStrength(1) *= 5.0;
    if (pressed.less_f1) attempt.model().ForceStrength(1) /= 5.0;
  }
  if (pressed.reread) return AttemptEnd::kReread;
  if (pressed.redo) return AttemptEnd::kRedo;
  return AttemptEnd::kFinished;
}

bool Run::is_duplicate(double value) {
  return finish_.is_duplicate(value);
}

void Run::duplicate_label(const std::string& text) {
  s_.show_duplicate(text);
}

RunReport run(const RunRequest& request, RunHost& host) {
  return Run(request, host).execute();
}

}  // namespace ostrel
