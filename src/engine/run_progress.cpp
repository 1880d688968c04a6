#include "engine/run_progress.h"

#include <cmath>

#include "engine/run_messages.h"

namespace ostrel {
namespace {

// "robust start: least squares, cost 3.2e-05" while the attempt's robust start runs, else empty.
std::string start_stage_text(const Attempt& attempt) {
  const char* stage = attempt.shown_stage.load();
  if (!stage) return {};
  const double cost = attempt.shown_cost.load();
  return std::string("robust start: ") + stage +
         (std::isnan(cost) ? std::string() : ", cost " + short_number(cost));
}

}  // namespace

const char* expansion_name(int mode) {
  switch (mode) {
    case kExpandGlobal: return "global";
    case kExpandStress: return "stress";
    case kExpandLocalOne: return "local-one";
    case kExpandLocalDiagonal: return "local-diagonal";
    default: return "none";
  }
}

ProgressSnapshot relaxing_progress(const Attempt& attempt, int isomorph,
                                   const std::string& duplicate) {
  ProgressSnapshot snapshot;
  snapshot.Deform = attempt.deform();
  snapshot.Deforp = attempt.deforp();
  snapshot.IterationNo = attempt.iteration();
  snapshot.IsomorphNo = isomorph;
  snapshot.ExpandOpt = expansion_name(
      attempt.plan().robust && attempt.mode() == kExpandGlobal ? kExpandStress : attempt.mode());
  snapshot.Duplicate = duplicate;
  snapshot.model = &attempt.model();
  snapshot.z_min = attempt.relaxation().z_min();
  snapshot.z_max = attempt.relaxation().z_max();
  snapshot.graphics = attempt.graphics() && attempt.deform() > 0.005;
  return snapshot;
}

ProgressSnapshot starting_progress(const Attempt& attempt, int isomorph,
                                   const std::string& duplicate) {
  ProgressSnapshot snapshot;
  snapshot.IsomorphNo = isomorph;
  snapshot.Duplicate = duplicate;
  snapshot.graphics = false;
  snapshot.start_stage = start_stage_text(attempt);
  // Before the relaxation: a robust start, or the global pre-stage.
  const int mode = attempt.plan().robust ? kExpandStress : attempt.mode();
  snapshot.ExpandOpt = snapshot.start_stage.empty() ? expansion_name(mode) : snapshot.start_stage;
  return snapshot;
}

ProgressSnapshot waiting_progress(const Attempt& attempt, int isomorph, int kept_mode,
                                  const std::string& duplicate) {
  ProgressSnapshot snapshot;
  snapshot.Deform = attempt.shown_deform.load();
  snapshot.Deforp = attempt.shown_deforp.load();
  snapshot.IterationNo = attempt.shown_iteration.load();
  snapshot.IsomorphNo = isomorph;
  snapshot.ExpandOpt = expansion_name(attempt.plan().robust ? kExpandStress : kept_mode);
  snapshot.Duplicate = duplicate;
  snapshot.graphics = false;  // its positions change on the other thread
  snapshot.start_stage = start_stage_text(attempt);
  if (!snapshot.start_stage.empty()) snapshot.ExpandOpt = snapshot.start_stage;
  return snapshot;
}

void keep_presses(ButtonPresses& kept, const ButtonPresses& pressed) {
  kept.write = kept.write || pressed.write;
  kept.graphics = kept.graphics || pressed.graphics;
  kept.redo = kept.redo || pressed.redo;
  kept.more_f1 = kept.more_f1 || pressed.more_f1;
  kept.less_f1 = kept.less_f1 || pressed.less_f1;
}

}  // namespace ostrel
