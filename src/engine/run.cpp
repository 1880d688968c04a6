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
    : request_(request),
      settings_(request.settings),
      host_(host),
      errors_(host),
      jobs_(thread_count(request.jobs)) {
  seed_ = report_.seed = request.seed ? *request.seed : clock_seed();
  if (request.jobs > jobs_) {
    host_.message("Warning: " + std::to_string(request.jobs) + " jobs asked for, but only " +
                  std::to_string(jobs_) + (jobs_ == 1 ? " core is" : " cores are") +
                  " available: " + std::to_string(jobs_) + " used");
  }
}

RunReport Run::execute() {
  model_ = std::make_unique<Model>();
  model_->start_run();
  try {
    Next next;
    do {
      next = pass();
    } while (next == Next::kReread);
  } catch (const RunStopped&) {
    report_.end = RunEnd::kError;
  } catch (const RunError& error) {
    report_.end = RunEnd::kError;
    try {
      errors_.recover(error);
    } catch (const RunStopped&) {
    }
  }
  pool_.cancel_all();
  return report_;
}

// --- one pass: read, prepare, relax isomorph by isomorph ---

Next Run::pass() {
  pool_.cancel_all();
  base_name_ = request_.shape ? shape_base_name(*request_.shape) : input_base_name(request_.input);
  figures_.IsomorphNo = 1;
  new_written_ = 0;
  // The log is started once per run: the passes of a segmented model or a re-read add to it
  // instead of emptying what the earlier passes wrote.
  if (settings_.Debug && !debug_started_) {
    debug_started_ = true;
    debug_ = std::make_unique<DebugLog>(request_.output_folder / (base_name_ + "_debug.txt"));
    guarded([&] { debug_->start(); });
  }
  if (std::string problem = segment_count_problem(settings_.SegmentCount); !problem.empty())
    return stop_with(problem);
  for (int k = 1; k <= 6; ++k) model_->ForceStrength(k) = settings_.force_strength(k);
  model_->start_pass();
  segmented_.store.start_pass();
  LoadRequest load;
  if (request_.shape) {
    load.shape = *request_.shape;
  } else {
    // Read afresh every pass: Re-Read is for a file the user has just changed.
    text_ = read_input_file(request_.input);
    load.text = text_;
  }
  load.parse.SegmentCount = settings_.SegmentCount;
  load.parse.segment = segment_no_;
  load.parse.segments = &segmented_.store;
  load.parse.OutputName = base_name_;
  load.parse.debug = debug();
  load.parse.IgnoreCoordinates = settings_.IgnoreCoordinates;
  load.settings = &settings_;
  LoadResult loaded = load_model(*model_, load, host_, debug());
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
  if (segmented() && loaded.parsed.status == ParseStatus::kRealmSectionUnclosed) {
    ++segment_no_;
    return write_segmented(false, loaded.parsed.message);
  }
  if (!loaded.parsed.ok()) return stop_with(loaded.parsed.message);
  if (segmented()) {
    // An anchor segment is placed, not relaxed: the next pass reads the next segment; after the
    // last one the parser has read the realm section already.
    if (loaded.parsed.realms_read) {
      ++segment_no_;
      return write_segmented(false);
    }
    if (loaded.parsed.more_segments) {
      ++segment_no_;
      return Next::kReread;
    }
  }
  return Next::kGoOn;
}

Next Run::take_preparation(LoadResult& loaded) {
  if (!loaded.error.empty()) return stop_with(loaded.error);
  PreparedModel& prepared = loaded.preparation;
  if (prepared.negative_square_roots > 0) {
    errors_.recover(RunError(kInvalidCall, "Invalid procedure call or argument",
                             "square root of " + std::to_string(prepared.negative_square_roots) +
                                 " negative hop values"));
  }
  links_ = std::move(prepared.links);
  output_.input_last_vertex = prepared.input_last_vertex;
  output_.collapse_answer = prepared.collapse_answer;
  hop_ = std::move(prepared.hop);
  distances_.reset();
  fixed_.clear();
  kept_mode_ = settings_.expansion_mode();
  relax_.reset();
  // Vertices above the last one with a neighbour take no part in the relaxation.
  model_->LastVertex = last_linked_vertex(*model_, *links_);
  return Next::kGoOn;
}

// --- isomorphs: one attempt after the other, later ones run ahead on other threads ---

Next Run::isomorphs() {
  first_attempt_of_pass_ = attempts_ + 1;
  first_draws_ = attempt_draws(*model_, settings_, model_->LastStartSlot);
  later_draws_ = attempt_draws(*model_, settings_, 0);
  robust_in_pass_ = false;
  unsettled_in_row_ = 0;
  while (true) {
    if (request_.limits.attempts > 0 && attempts_ >= request_.limits.attempts) {
      report_nothing_settled();
      return Next::kEnd;
    }
    if (cancel_.load()) {
      report_.end = RunEnd::kQuit;
      return Next::kEnd;
    }
    const int number = ++attempts_;
    const int in_pass = number - first_attempt_of_pass_ + 1;
    duplicate_text_ = " ";
    host_.duplicate_label(duplicate_text_);
    host_.caption(base_name_ + "_isom" + std::to_string(figures_.IsomorphNo));
    const AttemptPlan current = plan(number, in_pass);
    if (current.robust) ensure_robust_data();
    stream_taken_ += in_pass == 1 ? first_draws_ : later_draws_;
    // An attempt run ahead on a plan that no longer holds (the attempts before it escalated to
    // robust starts meanwhile) is started again as it should be.
    if (pool_.has(number) && pool_.plan(number).robust != current.robust) pool_.discard(number);
    const std::size_t reported_before = report_.isomorphs.size();
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
      next = take(std::move(taken.attempt), taken.end, true);
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
      if (settings_.incord) return write_as_entered(*attempt);
      AttemptEnd end = attempt->relax(*this);
      if (end == AttemptEnd::kQuit && waiting_end_ != AttemptEnd::kFinished) end = waiting_end_;
      attempt->cancel = nullptr;
      last_attempt_seconds_ =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      next = take(std::move(attempt), end, false);
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
  if (!report_.files.empty() || report_.isomorphs.empty() || segmented()) return;
  const IsomorphReport* best = &report_.isomorphs.front();
  for (const IsomorphReport& entry : report_.isomorphs) {
    if (entry.deform < best->deform) best = &entry;
  }
  host_.message(nothing_settled_message(attempts_, best->deform, best->deforp));
  report_.end = RunEnd::kError;
}

// Classic attempts that end unsettled one after the other turn the pass to robust starts.
void Run::count_outcome(std::size_t reported_before) {
  if (report_.isomorphs.size() <= reported_before || robust_in_pass_) return;
  if (report_.isomorphs.back().outcome != IsomorphOutcome::kUnsettled) {
    unsettled_in_row_ = 0;
    return;
  }
  if (++unsettled_in_row_ < kClassicAttempts) return;
  robust_in_pass_ = true;
  if (!escalated_ && kept_mode_ != kExpandStress && attempts_left()) {
    escalated_ = true;
    const std::string note = "Attempt " + std::to_string(attempts_ + 1) +
                             " and those after it start from a robust start";
    host_.note(note);
    append_debug({"Escalation: " + note});
  }
}

AttemptPlan Run::plan(int number, int /*in_pass*/) const {
  AttemptPlan plan;
  plan.number = number;
  plan.seed = seed_;
  // Draws taken by the attempts before this one: the attempts taken, then those between the
  // current attempt (counted in stream_taken_ already when this one runs ahead) and this one.
  plan.skipped = stream_taken_;
  if (number > attempts_) {
    plan.skipped += static_cast<std::uint64_t>(number - attempts_ - 1) * later_draws_;
  }
  // An attempt run ahead is planned as if the attempts before it leave the search as it is; when
  // it is taken, a plan that no longer holds sends it back (isomorphs()).
  const bool searching = !settings_.incord && (settings_.run_mode() == 2 || segmented());
  plan.robust = kept_mode_ == kExpandStress || (searching && robust_in_pass_);
  return plan;
}

std::unique_ptr<Attempt> Run::make_attempt(const AttemptPlan& plan, bool first_of_pass,
                                           int threads) {
  auto model = std::make_unique<Model>(*model_);
  if (!first_of_pass) forget_starting_positions(*model);
  PassData pass;
  pass.settings = &settings_;
  pass.links = links_.get();
  pass.hop = hop_.get();
  pass.distances = distances_.get();
  pass.fixed = &fixed_;
  pass.kept_mode = kept_mode_;
  pass.threads = threads;
  pass.off_coordinates = first_of_pass && input_is_off_;
  pass.debug = debug() != nullptr;
  return std::make_unique<Attempt>(pass, plan, std::move(model));
}

// Keeps the threads busy with the attempts after `number` (one thread is the run's own). Each
// runs its pair sums on its own thread. Attempts that end in a moment are not run ahead.
void Run::run_ahead(int number, int in_pass) {
  const bool searching = !settings_.incord && (settings_.run_mode() == 2 || segmented());
  if (jobs_ < 2 || !searching) return;
  if (!robust_in_pass_ && last_attempt_seconds_ < kWorthRunningAhead) return;
  for (int ahead = number + 1; ahead < number + jobs_; ++ahead) {
    if (request_.limits.attempts > 0 && ahead > request_.limits.attempts) break;
    if (pool_.has(ahead)) continue;
    const AttemptPlan later = plan(ahead, in_pass + (ahead - number));
    if (later.robust) ensure_robust_data();
    pool_.launch(make_attempt(later, false, 1));
  }
}

void Run::ensure_robust_data() {
  if (distances_) return;
  const Model& model = *model_;
  distances_ = std::make_unique<GraphDistances>(graph_distances(model, *links_, model.LastVertex));
  fixed_ = fixed_distances(model, distances_->first, model.LastVertex);
}

// While an attempt that ran ahead is awaited: its progress, and Quit and Re-Read.
bool Run::idle_while_waiting(const Attempt& attempt) {
  host_.progress(waiting_progress(attempt, figures_.IsomorphNo, kept_mode_, duplicate_text_));
  const ButtonPresses pressed = host_.poll();
  if (pressed.quit) waiting_end_ = AttemptEnd::kQuit;
  if (pressed.reread) waiting_end_ = AttemptEnd::kReread;
  if (pressed.quit) cancel_ = true;
  return waiting_end_ == AttemptEnd::kFinished;
}

// While a start runs on the run's own thread: Quit and Re-Read call it off at once; the other
// buttons wait for the first poll of the relaxation.
bool Run::ask_during_start() {
  if (starting_)
    host_.progress(starting_progress(*starting_, figures_.IsomorphNo, duplicate_text_));
  const ButtonPresses pressed = host_.poll();
  keep_presses(pending_, pressed);
  if (pressed.quit) waiting_end_ = AttemptEnd::kQuit;
  if (pressed.reread) waiting_end_ = AttemptEnd::kReread;
  if (pressed.quit) cancel_ = true;
  return waiting_end_ != AttemptEnd::kFinished;
}

// Every tenth iteration of an attempt the run relaxes itself: show the state, then act on the
// buttons pressed since the last poll.
AttemptEnd Run::poll(Attempt& attempt) {
  host_.progress(relaxing_progress(attempt, figures_.IsomorphNo, duplicate_text_));
  ButtonPresses pressed = host_.poll();
  keep_presses(pressed, pending_);
  pending_ = {};
  if (pressed.quit) cancel_ = true;
  if (pressed.quit) return AttemptEnd::kQuit;
  if (pressed.write) {
    const std::string name = base_name_;
    figures_.IterationNo = attempt.iteration();
    figures_.Deform = attempt.deform();
    figures_.Deforp = attempt.deforp();
    auto files = output_.write(point(name, &attempt), figures_);
    record_isomorph(IsomorphOutcome::kWritten, files);
    output_.announce("W12: " + name + " VRML files written", files);
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
  for (int k = 1; k < figures_.IsomorphNo && k <= kMaxIsomorphs; ++k) {
    if (std::fabs(signatures_[static_cast<std::size_t>(k)] - value) < kDuplicateTolerance)
      return true;
  }
  return false;
}

void Run::duplicate_label(const std::string& text) {
  duplicate_text_ = text;
  host_.duplicate_label(text);
}

RunReport run(const RunRequest& request, RunHost& host) {
  return Run(request, host).execute();
}

}  // namespace ostrel
