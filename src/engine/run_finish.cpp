// Taking a finished attempt in attempt order, and the writing that follows from it.
#include <algorithm>
#include <cmath>

#include "engine/orientation.h"
#include "engine/run_state.h"
#include "engine/segment_passes.h"
#include "output/generation_date.h"

namespace ostrel {

Next Run::take(std::unique_ptr<Attempt> attempt, AttemptEnd end, bool ran_ahead) {
  append_debug(attempt->debug_lines());
  IterationNo_ = attempt->iteration();
  Deform_ = attempt->deform();
  Deforp_ = attempt->deforp();
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
    IterationNo_ = found_point.iteration;
    Deform_ = found_point.deform;
    Deforp_ = found_point.deforp;
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
  output_name_ = IsomorphNo_ == 1 ? base_name_ : base_name_ + "_isom" + std::to_string(IsomorphNo_);
  const int run_mode = settings_.run_mode();
  const bool settled = Deform_ < model_->EdgeCount / 1000000000000.0 || run_mode == 3;
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

Next Run::next_isomorph() {
  if (request_.limits.new_isomorphs > 0 && new_written_ >= request_.limits.new_isomorphs) {
    return Next::kEnd;
  }
  // The signature table holds 500 isomorphs.
  if (IsomorphNo_ > kMaxIsomorphs) throw_subscript_error("IsomorphSignature", IsomorphNo_);
  return Next::kNextIsomorph;
}

// After the last segment: the realm section, then the segmented files and their message.
Next Run::write_segmented(bool read_realms, const std::string& unclosed_message) {
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

Next Run::write_as_entered(Attempt& attempt) {
  append_debug(attempt.debug_lines());
  relax_ = attempt.release_relaxation();
  model_ = attempt.release_model();
  Deform_ = 0.0;
  Deforp_ = 0.0;
  relax_->measure(Deform_, Deforp_);
  errors_.set_resume_prompt_off(true);
  auto files = write_output(base_name_);
  errors_.set_resume_prompt_off(false);
  record_isomorph(IsomorphOutcome::kWritten, files);
  announce("W08: " + base_name_ + "  VRML files written as entered", files);
  return Next::kEnd;
}

Next Run::write_and_end(const std::string& code, const std::string& text) {
  output_name_ = base_name_;
  auto files = write_output(output_name_);
  record_isomorph(IsomorphOutcome::kWritten, files);
  announce(code + output_name_ + text, files);
  return Next::kEnd;
}

// A completion message says that files were written: when every file of the write point failed
// (each failure has been reported), it is not shown.
void Run::announce(const std::string& message, const std::vector<std::filesystem::path>& files) {
  if (!files.empty()) host_.message(message);
}

Signature Run::compute_signature() {
  Signature signature = isomorph_signature(*model_, settings_.Isomorph, settings_.Coincidence);
  signatures_[static_cast<std::size_t>(std::min(IsomorphNo_, kMaxIsomorphs))] = signature.value;
  if (signature.coincident) duplicate_label("Co-incident vertices found");
  return signature;
}

OutputContext Run::output_context(const std::string& name, Attempt* attempt) {
  const Model& model = attempt ? attempt->model() : *model_;
  const Relaxation* relax = attempt ? &attempt->relaxation() : relax_.get();
  OutputContext context;
  context.OutputDirectory = request_.output_folder;
  context.OutputName = name;
  context.version = request_.version;
  context.generation_date = generation_date();
  context.SegmentCount = settings_.SegmentCount;
  // A segmented model made only of anchors is written before any relaxation ran.
  for (int set = 1; set <= 3 && relax; ++set) {
    const RhombusSet& rhombus = relax->rhombus_sets()[static_cast<std::size_t>(set)];
    if (rhombus.count > 0) {
      context.RhombusSetDiagonals[static_cast<std::size_t>(set)] = {rhombus.short_target,
                                                                    rhombus.long_target};
    }
  }
  context.debug_log = debug();
  context.IterationDeform = context.MeasuredDeform = Deform_;
  context.IterationDeforp = context.MeasuredDeforp = Deforp_;
  if (relax) {
    context.deviations.FaceDeviation = relax->motion().FaceDeviation;
    context.deviations.EdgeDeviation = relax->motion().EdgeDeviation;
  }
  for (int set = 1; set <= 2 && relax; ++set) {
    const HexagonSet& hexagon = relax->hexagon_sets()[static_cast<std::size_t>(set)];
    if (hexagon.count > 0)
      context.HexagonSetPairMean[static_cast<std::size_t>(set)] = hexagon.pair_mean;
  }
  context.ViewingDistance = 3.5 * scene_radius(model);
  if (input_last_vertex_ < model.LastVertex) context.InputLastVertex = input_last_vertex_;
  context.CurrentSegment = segment_no_;
  context.InputFile = request_.shape ? base_name_ : request_.input.filename().string();
  if (!request_.shape) context.InputPath = request_.input;
  if (collapse_answer_) context.CollapseStars = *collapse_answer_ ? "Yes" : "No";
  return context;
}

std::vector<std::filesystem::path> Run::write_output(const std::string& name, Attempt* attempt) {
  Model& model = attempt ? attempt->model() : *model_;
  OutputContext context = output_context(name, attempt);
  // Turned once per write point: the stress pass writes the model as the ordinary pass did.
  if (model.OrientFlag) OrientationStep(model);
  std::vector<std::filesystem::path> paths;
  bool net_written = false;
  for (const WrittenFile& file : write_file_set(model, settings_, context, host_, errors_)) {
    paths.push_back(file.path);
    net_written = net_written || file.kind == OutputKind::kNet;
  }
  if (settings_.NetFile && settings_.SegmentCount < 2 && !net_written) ++report_.nets_not_written;
  if (settings_.StressMap) {
    context.StressPass = true;
    for (const WrittenFile& file : write_file_set(model, settings_, context, host_, errors_)) {
      paths.push_back(file.path);
    }
  }
  report_.files.insert(report_.files.end(), paths.begin(), paths.end());
  return paths;
}

void Run::record_isomorph(IsomorphOutcome outcome, std::vector<std::filesystem::path> files) {
  IsomorphReport entry;
  entry.number = IsomorphNo_;
  entry.iterations = IterationNo_;
  entry.deform = Deform_;
  entry.deforp = Deforp_;
  entry.outcome = outcome;
  entry.files = std::move(files);
  report_.isomorphs.push_back(std::move(entry));
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
