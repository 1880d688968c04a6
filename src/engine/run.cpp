#include "engine/run.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <memory>

#include "core/debug_log.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "core/random.h"
#include "engine/convergence.h"
#include "engine/error_recovery.h"
#include "engine/relax.h"
#include "engine/segment_passes.h"
#include "input/input_reader.h"
#include "input/prescan.h"
#include "output/file_set.h"
#include "output/generation_date.h"
#include "output/segmented.h"
#include "prepare/inflation.h"
#include "prepare/isomorph.h"
#include "prepare/prepare_model.h"

namespace ostrel {

const char* outcome_name(IsomorphOutcome outcome) {
  switch (outcome) {
    case IsomorphOutcome::kNew: return "new";
    case IsomorphOutcome::kDuplicate: return "duplicate";
    case IsomorphOutcome::kCoincident: return "coincident";
    case IsomorphOutcome::kUnsettled: return "unsettled";
    case IsomorphOutcome::kWritten: return "written";
  }
  return "unsettled";
}

std::uint64_t clock_seed() {
  return static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

namespace {

constexpr int kMaxIsomorphs = 500;

const char* expansion_name(int mode) {
  switch (mode) {
    case kExpandGlobal: return "global";
    case kExpandLocalOne: return "local-one";
    case kExpandLocalDiagonal: return "local-diagonal";
    default: return "none";
  }
}

// How a stage leaves the run.
enum class Next { kGoOn, kNextIsomorph, kReread, kEnd };

class Run {
 public:
  Run(const RunRequest& request, RunHost& host)
      : request_(request),
        settings_(request.settings),
        host_(host),
        errors_(host),
        convergence_(settings_.run_mode(), settings_.iteration_limit()) {
    report_.seed = request.seed ? *request.seed : clock_seed();
    random_.seed(report_.seed);
  }

  RunReport execute() {
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
    return report_;
  }

 private:
  // --- one pass: read, prepare, relax isomorph by isomorph ---

  Next pass() {
    Model& model = *model_;
    base_name_ =
        request_.shape ? shape_base_name(*request_.shape) : input_base_name(request_.input);
    IsomorphNo_ = 1;
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
    for (int k = 1; k <= 6; ++k) model.ForceStrength(k) = settings_.force_strength(k);
    model.start_pass();
    if (request_.shape) {
      std::string problem = shape_size_problem(*request_.shape);
      if (!problem.empty()) return stop_with(problem);
      build_shape(model, *request_.shape);
    } else {
      // Read afresh every pass: Re-Read is for a file the user has just changed.
      text_ = read_input_file(request_.input);
      ParseRequest parse_request;
      parse_request.SegmentCount = settings_.SegmentCount;
      parse_request.OutputName = base_name_;
      parse_request.debug = debug();
      parse_request.IgnoreCoordinates = settings_.IgnoreCoordinates;
      ParseResult parsed = read_input(model, text_, parse_request, host_);
      // An anchor read as the last segment is followed by the realm section at once; without its
      // closing "]" the segments are written with the realm faces read, as after an ordinary
      // last segment.
      if (segmented() && parsed.status == ParseStatus::kRealmSectionUnclosed)
        return write_segmented(false, parsed.message);
      if (!parsed.ok()) return stop_with(parsed.message);
      if (segmented()) {
        // An anchor segment is placed, not relaxed: the next pass reads the next segment; after
        // the last one the parser has read the realm section already.
        if (model.RealmsRead) return write_segmented(false);
        if (model.MoreSegments) {
          model.MoreSegments = false;
          return Next::kReread;
        }
      }
    }
    // A model without faces has nothing to relax or to write (the system would write an empty
    // segmented file here); say so instead.
    if (model.LastVertex < model.FirstVertex || model.FaceCount < 1) {
      return stop_with("Input error: No faces found in input");
    }
    Next prepared = prepare();
    if (prepared != Next::kGoOn) return prepared;
    return isomorphs();
  }

  Next prepare() {
    PreparedModel prepared = prepare_model(*model_, settings_, host_, debug());
    if (!prepared.error.empty()) return stop_with(prepared.error);
    if (prepared.negative_square_roots > 0) {
      errors_.recover(RunError(kInvalidCall, "Invalid procedure call or argument",
                               "square root of " + std::to_string(prepared.negative_square_roots) +
                                   " negative hop values"));
    }
    links_ = std::move(prepared.links);
    input_last_vertex_ = prepared.input_last_vertex;
    collapse_answer_ = prepared.collapse_answer;
    hop_ = std::move(prepared.hop);
    kept_mode_ = settings_.expansion_mode();
    relax_ = std::make_unique<Relaxation>(*model_, settings_);
    return Next::kGoOn;
  }

  // --- isomorphs ---

  Next isomorphs() {
    while (true) {
      ++attempts_;
      if (request_.limits.attempts > 0 && attempts_ > request_.limits.attempts) return Next::kEnd;
      start_isomorph();
      if (settings_.incord) return write_as_entered();
      if (mode_ == kExpandGlobal && hop_) {
        if (relax_->global_prestage(*hop_, lenient_value(settings_.GlobLim)) == 0 && debug()) {
          guarded([&] {
            debug()->append(
                "Global inflation did not settle; relaxing from the starting positions");
          });
        }
      }
      Next next = relax_isomorph();
      if (next != Next::kNextIsomorph) return next;
    }
  }

  void start_isomorph() {
    Model& model = *model_;
    duplicate_text_ = " ";
    host_.duplicate_label(duplicate_text_);
    LocalInflation inflation = draw_local_inflation(settings_, random_);
    model.LastVertex = last_linked_vertex(model, *links_);
    mode_ = kept_mode_;
    bool local = mode_ == kExpandLocalOne || mode_ == kExpandLocalDiagonal;
    relax_ = std::make_unique<Relaxation>(model, settings_);
    relax_->set_local_expansion(mode_, local,
                                mode_ == kExpandLocalDiagonal
                                    ? edge_inflation_factors(model, settings_, inflation)
                                    : std::vector<double>{});
    relax_->shape_boost = local ? 10.0 : 1.0;
    Deform_ = Deforp_ = 999.0;
    if (DebugLog* log = debug()) {
      guarded([&] {
        log->append({"expand :" + print_form(mode_), "expold :" + print_form(kept_mode_),
                     "minvert :" + print_form(model.FirstVertex),
                     "maxvert :" + print_form(model.LastVertex),
                     "d4fac :" + print_form(relax_->shape_boost)});
      });
    }
    input_positions_in_force_ = model.StartListRead && model.LastStartSlot > 0;
    place_starting_positions(model, settings_, random_);
    host_.caption(base_name_ + "_isom" + std::to_string(IsomorphNo_));
    IterationNo_ = 0;
    convergence_.start();
    found_ = false;
    graphics_ = true;
  }

  Next relax_isomorph() {
    while (true) {
      ++IterationNo_;
      convergence_.record(IterationNo_, Deform_);
      const double previous_deform = Deform_;
      const double previous_deforp = Deforp_;
      Deform_ = 0.0;
      Deforp_ = 0.0;
      relax_->step(IterationNo_, settings_.RegHex, Deform_, Deforp_);
      if (Deform_ < 0.01) graphics_ = previous_deform >= 0.01;

      if (IterationNo_ % 10 == 0) {
        Next next = poll();
        if (next == Next::kNextIsomorph) return finish_isomorph();
        if (next != Next::kGoOn) return next;
      }

      // Forces that overshoot until the positions are no longer numbers (too strong a force, or
      // Force2 at 0) are the run's overflow: the handler names it and ends the run.
      if (!std::isfinite(Deform_) || !std::isfinite(Deforp_)) {
        throw RunError(kOverflow, "Error: Overflow.  Try reducing some Force Strengths",
                       "iteration " + std::to_string(IterationNo_));
      }
      const double change = std::fabs(Deform_ - previous_deform);
      StepVerdict verdict = convergence_.after_step(
          {IterationNo_, Deform_, change, relax_->local_expansion_running(), mode_});
      if (verdict.stop_expansion) {
        relax_->stop_local_expansion();
        mode_ = kExpandNone;
      }
      bool finished = verdict.finished;
      if (!found_ && Deform_ < 0.001) {
        found_ = true;
        Signature signature = compute_signature();
        if (signature.coincident) {
          finished = true;
        } else if (is_duplicate(signature.value)) {
          duplicate_text_ = "Duplicate Isomorph";
          host_.duplicate_label(duplicate_text_);
          if (input_positions_in_force_) return write_and_end("W09: ", "  VRML files written");
          finished = true;
        }
      }
      // A 'Once' run is one attempt: at the iteration limit it is written as it stands.
      if (finished && IterationNo_ >= convergence_.limit() && settings_.run_mode() != 2 &&
          !segmented())
        found_ = true;
      if (finished) return finish_isomorph();

      const double moved = change + std::fabs(Deforp_ - previous_deforp);
      StallVerdict stall = convergence_.stall_test(IterationNo_, Deform_, Deforp_, moved);
      if (!stall.due) continue;
      if (DebugLog* log = debug()) {
        std::vector<std::string> lines{
            "Iteration: " + print_form(IterationNo_) + " Deform: " + print_form(Deform_) +
                " Deforp: " + print_form(Deforp_),
            "  Change since last iteration: " + print_form(moved),
            "       Change since iteration: " + print_form(stall.since) + print_form(stall.gain)};
        if (!stall.improving)
          lines.push_back("  Writing output files after iteration :" + print_form(IterationNo_));
        guarded([&] { log->append(lines); });
      }
      if (!stall.improving) {
        found_ = true;
        return finish_isomorph();
      }
    }
  }

  // Every tenth iteration: show the state, then act on the buttons pressed since the last poll.
  Next poll() {
    ProgressSnapshot snapshot;
    snapshot.Deform = Deform_;
    snapshot.Deforp = Deforp_;
    snapshot.IterationNo = IterationNo_;
    snapshot.IsomorphNo = IsomorphNo_;
    snapshot.ExpandOpt = expansion_name(mode_);
    snapshot.Duplicate = duplicate_text_;
    snapshot.model = model_.get();
    snapshot.z_min = relax_->z_min();
    snapshot.z_max = relax_->z_max();
    snapshot.graphics = graphics_ && Deform_ > 0.005;
    host_.progress(snapshot);
    ButtonPresses pressed = host_.poll();
    if (pressed.quit) {
      report_.end = RunEnd::kQuit;
      return Next::kEnd;
    }
    if (pressed.write) {
      std::string name = base_name_;
      auto files = write_output(name);
      record_isomorph(IsomorphOutcome::kWritten, files);
      announce("W12: " + name + " VRML files written", files);
    }
    if (pressed.graphics) graphics_ = !graphics_;
    if (pressed.more_f1) model_->ForceStrength(1) *= 5.0;
    if (pressed.less_f1) model_->ForceStrength(1) /= 5.0;
    if (pressed.reread) return Next::kReread;
    if (pressed.redo) return Next::kNextIsomorph;
    return Next::kGoOn;
  }

  // The isomorph is finished. One whose signature was taken (it settled, or stopped moving) is
  // written when it is new and settled; a 'Once' run then ends with it, written in any case.
  // One that never settled makes way for the next isomorph.
  Next finish_isomorph() {
    if (!found_) {
      record_isomorph(IsomorphOutcome::kUnsettled, {});
      return next_isomorph();
    }
    found_ = false;
    Signature signature = compute_signature();
    bool is_new = !is_duplicate(signature.value);
    output_name_ =
        IsomorphNo_ == 1 ? base_name_ : base_name_ + "_isom" + std::to_string(IsomorphNo_);
    const int run_mode = settings_.run_mode();
    bool written = false;
    if (is_new && !signature.coincident &&
        (Deform_ < model_->EdgeCount / 1000000000000.0 || run_mode == 3) && segmented()) {
      // A settled segment joins the segmented model; the next pass reads the next segment.
      record_isomorph(IsomorphOutcome::kNew, {});
      store_segment(segmented_, *model_, model_->SegmentNo);
      ++model_->SegmentNo;
      if (model_->SegmentNo > settings_.SegmentCount) return write_segmented(true);
      return Next::kReread;
    }
    if (is_new && !signature.coincident &&
        (Deform_ < model_->EdgeCount / 1000000000000.0 || run_mode == 3)) {
      auto files = write_output(output_name_);
      record_isomorph(IsomorphOutcome::kNew, files);
      written = true;
      ++new_written_;
      if (settings_.weaken_limit() < 99) {
        announce("W10: " + output_name_ + "  VRML files written", files);
        return Next::kEnd;
      }
      ++IsomorphNo_;
    } else {
      record_isomorph(signature.coincident ? IsomorphOutcome::kCoincident
                      : is_new             ? IsomorphOutcome::kUnsettled
                                           : IsomorphOutcome::kDuplicate,
                      {});
    }
    if (segmented()) return attempts_left() ? Next::kReread : Next::kEnd;  // the segment again
    if (run_mode < 2) {
      // Written once: writing the same isomorph again would turn an oriented model a second time.
      if (!written) {
        auto files = write_output(output_name_);
        report_.isomorphs.back().files = files;
      }
      announce("W11: " + output_name_ + "  VRML files written", report_.isomorphs.back().files);
      return Next::kEnd;
    }
    return next_isomorph();
  }

  bool segmented() const { return settings_.SegmentCount > 1; }
  bool attempts_left() const {
    return request_.limits.attempts == 0 || attempts_ < request_.limits.attempts;
  }

  // After the last segment: the realm section, then the segmented files and their message.
  Next write_segmented(bool read_realms, const std::string& unclosed_message = {}) {
    output_name_ = base_name_;
    SegmentedEnd end =
        finish_segmented_model(*model_, settings_, text_, read_realms, unclosed_message, segmented_,
                               output_context(output_name_), host_, errors_, debug());
    if (!end.error.empty()) return stop_with(end.error);
    report_.files.insert(report_.files.end(), end.files.begin(), end.files.end());
    if (report_.isomorphs.empty())
      record_isomorph(IsomorphOutcome::kWritten, end.files);
    else
      report_.isomorphs.back().files = end.files;
    announce(end.message, end.files);
    return Next::kEnd;
  }

  Next next_isomorph() {
    if (request_.limits.new_isomorphs > 0 && new_written_ >= request_.limits.new_isomorphs) {
      return Next::kEnd;
    }
    // The signature table holds 500 isomorphs.
    if (IsomorphNo_ > kMaxIsomorphs) throw_subscript_error("IsomorphSignature", IsomorphNo_);
    return Next::kNextIsomorph;
  }

  Next write_as_entered() {
    Model& model = *model_;
    Deform_ = 0.0;
    Deforp_ = 0.0;
    relax_->measure(Deform_, Deforp_);
    errors_.set_resume_prompt_off(true);
    auto files = write_output(base_name_);
    errors_.set_resume_prompt_off(false);
    record_isomorph(IsomorphOutcome::kWritten, files);
    (void)model;
    announce("W08: " + base_name_ + "  VRML files written as entered", files);
    return Next::kEnd;
  }

  Next write_and_end(const std::string& code, const std::string& text) {
    output_name_ = base_name_;
    auto files = write_output(output_name_);
    record_isomorph(IsomorphOutcome::kWritten, files);
    announce(code + output_name_ + text, files);
    return Next::kEnd;
  }

  // --- helpers ---

  // A completion message says that files were written: when every file of the write point
  // failed (each failure has been reported), it is not shown.
  void announce(const std::string& message, const std::vector<std::filesystem::path>& files) {
    if (!files.empty()) host_.message(message);
  }

  Signature compute_signature() {
    Signature signature = isomorph_signature(*model_, settings_.Isomorph, settings_.Coincidence);
    signatures_[static_cast<std::size_t>(std::min(IsomorphNo_, kMaxIsomorphs))] = signature.value;
    if (signature.coincident) {
      duplicate_text_ = "Co-incident vertices found";
      host_.duplicate_label(duplicate_text_);
    }
    return signature;
  }

  bool is_duplicate(double value) const {
    for (int k = 1; k < IsomorphNo_ && k <= kMaxIsomorphs; ++k) {
      if (std::fabs(signatures_[static_cast<std::size_t>(k)] - value) < kDuplicateTolerance)
        return true;
    }
    return false;
  }

  OutputContext output_context(const std::string& name) {
    OutputContext context;
    context.OutputDirectory = request_.output_folder;
    context.OutputName = name;
    context.version = request_.version;
    context.generation_date = generation_date();
    context.SegmentCount = settings_.SegmentCount;
    // A segmented model made only of anchors is written before any relaxation ran.
    for (int set = 1; set <= 3 && relax_; ++set) {
      const RhombusSet& rhombus = relax_->rhombus_sets()[static_cast<std::size_t>(set)];
      if (rhombus.count > 0) {
        context.RhombusSetDiagonals[static_cast<std::size_t>(set)] = {rhombus.short_target,
                                                                      rhombus.long_target};
      }
    }
    context.debug_log = debug();
    context.IterationDeform = context.MeasuredDeform = Deform_;
    context.IterationDeforp = context.MeasuredDeforp = Deforp_;
    for (int set = 1; set <= 2 && relax_; ++set) {
      const HexagonSet& hexagon = relax_->hexagon_sets()[static_cast<std::size_t>(set)];
      if (hexagon.count > 0)
        context.HexagonSetPairMean[static_cast<std::size_t>(set)] = hexagon.pair_mean;
    }
    context.ViewingDistance = 3.5 * scene_radius(*model_);
    if (input_last_vertex_ < model_->LastVertex) context.InputLastVertex = input_last_vertex_;
    context.CurrentSegment = model_->SegmentNo;
    context.InputFile = request_.shape ? base_name_ : request_.input.filename().string();
    if (!request_.shape) context.InputPath = request_.input;
    if (collapse_answer_) context.CollapseStars = *collapse_answer_ ? "Yes" : "No";
    return context;
  }

  std::vector<std::filesystem::path> write_output(const std::string& name) {
    OutputContext context = output_context(name);
    std::vector<std::filesystem::path> paths;
    for (const WrittenFile& file : write_file_set(*model_, settings_, context, host_, errors_)) {
      paths.push_back(file.path);
    }
    if (settings_.StressMap) {
      context.StressPass = true;
      for (const WrittenFile& file : write_file_set(*model_, settings_, context, host_, errors_)) {
        paths.push_back(file.path);
      }
    }
    report_.files.insert(report_.files.end(), paths.begin(), paths.end());
    return paths;
  }

  void record_isomorph(IsomorphOutcome outcome, std::vector<std::filesystem::path> files) {
    IsomorphReport entry;
    entry.number = IsomorphNo_;
    entry.iterations = IterationNo_;
    entry.deform = Deform_;
    entry.deforp = Deforp_;
    entry.outcome = outcome;
    entry.files = std::move(files);
    report_.isomorphs.push_back(std::move(entry));
  }

  Next stop_with(const std::string& message) {
    host_.message(message);
    report_.end = RunEnd::kError;
    return Next::kEnd;
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

  DebugLog* debug() { return debug_.get(); }

  const RunRequest& request_;
  RunSettings settings_;
  RunHost& host_;
  RunErrorHandler errors_;
  Convergence convergence_;
  RunReport report_;
  Random random_;
  std::unique_ptr<Model> model_;
  std::unique_ptr<DebugLog> debug_;
  std::unique_ptr<VertexLinkTable> links_;
  std::unique_ptr<HopDistanceTable> hop_;
  std::unique_ptr<Relaxation> relax_;
  SegmentedModel segmented_;
  std::string text_;
  std::string base_name_;
  std::string output_name_;
  std::string duplicate_text_ = " ";

  int input_last_vertex_ = -1;
  std::optional<bool> collapse_answer_;
  int IsomorphNo_ = 1;
  std::int64_t IterationNo_ = 0;
  double Deform_ = 999.0;
  double Deforp_ = 999.0;
  std::array<double, kMaxIsomorphs + 1> signatures_{};
  int mode_ = kExpandGlobal;
  int kept_mode_ = kExpandGlobal;
  bool found_ = false;
  bool graphics_ = true;
  bool debug_started_ = false;
  bool input_positions_in_force_ = false;
  int attempts_ = 0;
  int new_written_ = 0;
};

}  // namespace

RunReport run(const RunRequest& request, RunHost& host) {
  return Run(request, host).execute();
}

}  // namespace ostrel
