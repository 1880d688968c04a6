// Taking a finished attempt in attempt order, and the writing that follows from it.
#include <algorithm>
#include <cmath>

#include "engine/convergence.h"
#include "engine/run_state.h"
#include "engine/segment_passes.h"

namespace ostrel {

Next Run::take(std::unique_ptr<Attempt> attempt, AttemptEnd end, bool ran_ahead) {
  append_debug(attempt->debug_lines());
  figures_.IterationNo = attempt->iteration();
  figures_.Deform = attempt->deform();
  figures_.Deforp = attempt->deforp();
  found_ = attempt->found();
  const Attempt::FoundPoint found_point = attempt->found_point();
  const bool input_positions = attempt->input_positions();
  relax_ = attempt->release_relaxation();
  model_ = attempt->release_model();
  switch (end) {
    case AttemptEnd::kQuit: report_.end = RunEnd::kQuit; return Next::kEnd;
    case AttemptEnd::kReread: return Next::kReread;
    case AttemptEnd::kDuplicate:
      if (input_positions) return write_and_end("W09: ", "  VRML files written");
      return finish_isomorph();
    default: break;
  }
  // An attempt that ran ahead could not know the isomorphs taken before it: had it run in turn,
  // it would have stopped as a duplicate where it first settled. It is taken as it stood there.
  if (ran_ahead && found_point.reached && !found_point.signature.coincident &&
      is_duplicate(found_point.signature.value)) {
    duplicate_label("Duplicate Isomorph");
    figures_.IterationNo = found_point.iteration;
    figures_.Deform = found_point.deform;
    figures_.Deforp = found_point.deforp;
    std::size_t k = 0;
    for (int v = model_->FirstVertex; v <= model_->LastVertex; ++v, k += 3) {
      model_->VertexX(v) = found_point.positions[k];
      model_->VertexY(v) = found_point.positions[k + 1];
      model_->VertexZ(v) = found_point.positions[k + 2];
    }
    found_ = true;
  } else if (ran_ahead && found_point.reached && found_point.signature.coincident) {
    duplicate_label("Co-incident vertices found");
  }
  return finish_isomorph();
}

// The isomorph is finished. One whose signature was taken (it settled, or stopped moving) is
// written when it is new and settled; a 'Once' run then ends with it, written in any case. One
// that never settled makes way for the next isomorph.
Next Run::finish_isomorph() {
  if (!found_) {
    record_isomorph(IsomorphOutcome::kUnsettled, {});
    return next_isomorph();
  }
  found_ = false;
  Signature signature = compute_signature();
  bool is_new = !is_duplicate(signature.value);
  output_name_ = figures_.IsomorphNo == 1
                     ? base_name_
                     : base_name_ + "_isom" + std::to_string(figures_.IsomorphNo);
  const int run_mode = settings_.run_mode();
  const bool settled = Convergence::settled(figures_.Deform, model_->EdgeCount, run_mode);
  bool written = false;
  if (is_new && !signature.coincident && settled && segmented()) {
    // A settled segment joins the segmented model; the next pass reads the next segment.
    record_isomorph(IsomorphOutcome::kNew, {});
    store_segment(segmented_, *model_, segment_no_);
    ++segment_no_;
    if (segment_no_ > settings_.SegmentCount) return write_segmented(true);
    return Next::kReread;
  }
  if (is_new && !signature.coincident && settled) {
    auto files = output_.write(point(output_name_), figures_);
    record_isomorph(IsomorphOutcome::kNew, files);
    written = true;
    ++new_written_;
    if (settings_.weaken_limit() < 99) {
      output_.announce("W10: " + output_name_ + "  VRML files written", files);
      return Next::kEnd;
    }
    ++figures_.IsomorphNo;
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
      auto files = output_.write(point(output_name_), figures_);
      report_.isomorphs.back().files = files;
    }
    output_.announce("W11: " + output_name_ + "  VRML files written",
                     report_.isomorphs.back().files);
    return Next::kEnd;
  }
  return next_isomorph();
}

Next Run::next_isomorph() {
  if (request_.limits.new_isomorphs > 0 && new_written_ >= request_.limits.new_isomorphs) {
    return Next::kEnd;
  }
  // The signature table holds 500 isomorphs.
  if (figures_.IsomorphNo > kMaxIsomorphs)
    throw_subscript_error("IsomorphSignature", figures_.IsomorphNo);
  return Next::kNextIsomorph;
}

// After the last segment: the realm section, then the segmented files and their message.
Next Run::write_segmented(bool read_realms, const std::string& unclosed_message) {
  output_name_ = base_name_;
  SegmentedEnd end = finish_segmented_model(
      *model_, settings_, text_, read_realms, unclosed_message, segmented_,
      output_.context(point(output_name_), figures_), host_, errors_, debug());
  if (!end.error.empty()) return stop_with(end.error);
  report_.files.insert(report_.files.end(), end.files.begin(), end.files.end());
  if (report_.isomorphs.empty())
    record_isomorph(IsomorphOutcome::kWritten, end.files);
  else
    report_.isomorphs.back().files = end.files;
  output_.announce(end.message, end.files);
  return Next::kEnd;
}

Next Run::write_as_entered(Attempt& attempt) {
  append_debug(attempt.debug_lines());
  relax_ = attempt.release_relaxation();
  model_ = attempt.release_model();
  figures_.Deform = 0.0;
  figures_.Deforp = 0.0;
  relax_->measure(figures_.Deform, figures_.Deforp);
  errors_.set_resume_prompt_off(true);
  auto files = output_.write(point(base_name_), figures_);
  errors_.set_resume_prompt_off(false);
  record_isomorph(IsomorphOutcome::kWritten, files);
  output_.announce("W08: " + base_name_ + "  VRML files written as entered", files);
  return Next::kEnd;
}

Next Run::write_and_end(const std::string& code, const std::string& text) {
  output_name_ = base_name_;
  auto files = output_.write(point(output_name_), figures_);
  record_isomorph(IsomorphOutcome::kWritten, files);
  output_.announce(code + output_name_ + text, files);
  return Next::kEnd;
}

Signature Run::compute_signature() {
  Signature signature = isomorph_signature(*model_, settings_.Isomorph, settings_.Coincidence);
  signatures_[static_cast<std::size_t>(std::min(figures_.IsomorphNo, kMaxIsomorphs))] =
      signature.value;
  if (signature.coincident) duplicate_label("Co-incident vertices found");
  return signature;
}

WritePoint Run::point(const std::string& name, Attempt* attempt) {
  return {name, attempt ? attempt->model() : *model_,
          attempt ? &attempt->relaxation() : relax_.get(), segment_no_, debug()};
}

Next Run::stop_with(const std::string& message) {
  host_.message(message);
  report_.end = RunEnd::kError;
  return Next::kEnd;
}

void Run::append_debug(const std::vector<std::string>& lines) {
  if (DebugLog* log = debug(); log && !lines.empty()) guarded([&] { log->append(lines); });
}

}  // namespace ostrel
