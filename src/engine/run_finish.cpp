#include "engine/run_finish.h"

#include <algorithm>
#include <cmath>

#include "engine/convergence.h"
#include "engine/segment_passes.h"

namespace ostrel {

Next IsomorphFinish::take(std::unique_ptr<Attempt> attempt, AttemptEnd end, bool ran_ahead) {
  s_.append_debug(attempt->debug_lines());
  s_.figures.IterationNo = attempt->iteration();
  s_.figures.Deform = attempt->deform();
  s_.figures.Deforp = attempt->deforp();
  found_ = attempt->found();
  const Attempt::FoundPoint found_point = attempt->found_point();
  const bool input_positions = attempt->input_positions();
  s_.relax = attempt->release_relaxation();
  s_.model = attempt->release_model();
  switch (end) {
    case AttemptEnd::kQuit: s_.report.end = RunEnd::kQuit; return Next::kEnd;
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
    s_.show_duplicate("Duplicate Isomorph");
    s_.figures.IterationNo = found_point.iteration;
    s_.figures.Deform = found_point.deform;
    s_.figures.Deforp = found_point.deforp;
    std::size_t k = 0;
    for (int v = s_.model->FirstVertex; v <= s_.model->LastVertex; ++v, k += 3) {
      s_.model->VertexX(v) = found_point.positions[k];
      s_.model->VertexY(v) = found_point.positions[k + 1];
      s_.model->VertexZ(v) = found_point.positions[k + 2];
    }
    found_ = true;
  } else if (ran_ahead && found_point.reached && found_point.signature.coincident) {
    s_.show_duplicate("Co-incident vertices found");
  }
  return finish_isomorph();
}

// The isomorph is finished. One whose signature was taken (it settled, or stopped moving) is
// written when it is new and settled; a 'Once' run then ends with it, written in any case. One
// that never settled makes way for the next isomorph.
Next IsomorphFinish::finish_isomorph() {
  if (!found_) {
    s_.record(IsomorphOutcome::kUnsettled, {});
    return next_isomorph();
  }
  found_ = false;
  Signature signature = compute_signature();
  bool is_new = !is_duplicate(signature.value);
  output_name_ = s_.figures.IsomorphNo == 1
                     ? s_.base_name
                     : s_.base_name + "_isom" + std::to_string(s_.figures.IsomorphNo);
  const int run_mode = s_.settings.run_mode();
  const bool settled = Convergence::settled(s_.figures.Deform, s_.model->EdgeCount, run_mode);
  bool written = false;
  if (is_new && !signature.coincident && settled && s_.segmented()) {
    // A settled segment joins the segmented model; the next pass reads the next segment.
    s_.record(IsomorphOutcome::kNew, {});
    store_segment(s_.segments, *s_.model, s_.segment_no);
    ++s_.segment_no;
    if (s_.segment_no > s_.settings.SegmentCount) return write_segmented(true);
    return Next::kReread;
  }
  if (is_new && !signature.coincident && settled) {
    auto files = s_.output.write(s_.point(output_name_), s_.figures);
    s_.record(IsomorphOutcome::kNew, files);
    written = true;
    ++new_written_;
    if (s_.settings.weaken_limit() < 99) {
      s_.output.announce("W10: " + output_name_ + "  VRML files written", files);
      return Next::kEnd;
    }
    ++s_.figures.IsomorphNo;
  } else {
    s_.record(signature.coincident ? IsomorphOutcome::kCoincident
              : is_new             ? IsomorphOutcome::kUnsettled
                                   : IsomorphOutcome::kDuplicate,
              {});
  }
  if (s_.segmented()) return s_.attempts_left() ? Next::kReread : Next::kEnd;  // the segment again
  if (run_mode < 2) {
    // Written once: writing the same isomorph again would turn an oriented model a second time.
    if (!written) {
      auto files = s_.output.write(s_.point(output_name_), s_.figures);
      s_.report.isomorphs.back().files = files;
    }
    s_.output.announce("W11: " + output_name_ + "  VRML files written",
                       s_.report.isomorphs.back().files);
    return Next::kEnd;
  }
  return next_isomorph();
}

Next IsomorphFinish::next_isomorph() {
  if (s_.request.limits.new_isomorphs > 0 && new_written_ >= s_.request.limits.new_isomorphs) {
    return Next::kEnd;
  }
  // The signature table holds 500 isomorphs.
  if (s_.figures.IsomorphNo > kMaxIsomorphs)
    throw_subscript_error("IsomorphSignature", s_.figures.IsomorphNo);
  return Next::kNextIsomorph;
}

// After the last segment: the realm section, then the segmented files and their message.
Next IsomorphFinish::write_segmented(bool read_realms, const std::string& unclosed_message) {
  output_name_ = s_.base_name;
  SegmentedEnd end = finish_segmented_model(
      *s_.model, s_.settings, s_.text, read_realms, unclosed_message, s_.segments,
      s_.output.context(s_.point(output_name_), s_.figures), s_.host, s_.errors, s_.debug());
  if (!end.error.empty()) return s_.stop_with(end.error);
  s_.report.files.insert(s_.report.files.end(), end.files.begin(), end.files.end());
  if (s_.report.isomorphs.empty())
    s_.record(IsomorphOutcome::kWritten, end.files);
  else
    s_.report.isomorphs.back().files = end.files;
  s_.output.announce(end.message, end.files);
  return Next::kEnd;
}

Next IsomorphFinish::write_as_entered(Attempt& attempt) {
  s_.append_debug(attempt.debug_lines());
  s_.relax = attempt.release_relaxation();
  s_.model = attempt.release_model();
  s_.figures.Deform = 0.0;
  s_.figures.Deforp = 0.0;
  s_.relax->measure(s_.figures.Deform, s_.figures.Deforp);
  s_.errors.set_resume_prompt_off(true);
  auto files = s_.output.write(s_.point(s_.base_name), s_.figures);
  s_.errors.set_resume_prompt_off(false);
  s_.record(IsomorphOutcome::kWritten, files);
  s_.output.announce("W08: " + s_.base_name + "  VRML files written as entered", files);
  return Next::kEnd;
}

Next IsomorphFinish::write_and_end(const std::string& code, const std::string& text) {
  output_name_ = s_.base_name;
  auto files = s_.output.write(s_.point(output_name_), s_.figures);
  s_.record(IsomorphOutcome::kWritten, files);
  s_.output.announce(code + output_name_ + text, files);
  return Next::kEnd;
}

Signature IsomorphFinish::compute_signature() {
  Signature signature =
      isomorph_signature(*s_.model, s_.settings.Isomorph, s_.settings.Coincidence);
  signatures_[static_cast<std::size_t>(std::min(s_.figures.IsomorphNo, kMaxIsomorphs))] =
      signature.value;
  if (signature.coincident) s_.show_duplicate("Co-incident vertices found");
  return signature;
}

bool IsomorphFinish::is_duplicate(double value) const {
  for (int k = 1; k < s_.figures.IsomorphNo && k <= kMaxIsomorphs; ++k) {
    if (std::fabs(signatures_[static_cast<std::size_t>(k)] - value) < kDuplicateTolerance)
      return true;
  }
  return false;
}

}  // namespace ostrel
