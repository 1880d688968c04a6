#include "engine/convergence.h"

#include <algorithm>
#include <cmath>

#include "settings/run_settings.h"

namespace ostrel {

void Convergence::start() {
  ring_.fill(0.0);
  countdown_ = 0;
  stall_iteration_ = -1;
  stall_value_ = 0.0;
  window_least_ = -1.0;
  last_window_least_ = -1.0;
}

StepVerdict Convergence::after_step(const StepState& state) {
  StepVerdict verdict;
  verdict.finished = state.iteration >= limit_;
  bool expanding = state.expansion_running;
  if (expanding) {
    if (state.change < 0.000001) {
      verdict.stop_expansion = true;
      expanding = false;
      ended_mode_ = state.mode;
      countdown_ = 3;
    }
  } else if (state.mode == kExpandNone && ended_mode_ > 2 && countdown_ > 0) {
    --countdown_;
  }
  if (run_mode_ == 2 && !expanding && countdown_ == 0) {
    // The model no longer improves when Deform has hardly changed since the last iteration and
    // since ten iterations ago: a model passing through a slow phase or a turning point changes
    // little from one iteration to the next, but not over ten. Until the ring holds a value of
    // ten iterations ago (it starts at 0, far from any Deform judged here), the second test
    // fails.
    const double ten_ago = ring_[static_cast<std::size_t>((state.iteration + 1) % 10)];
    const double change_over_ten = std::fabs(state.deform - ten_ago);
    const auto no_progress = [&](double threshold) {
      return state.change < threshold && change_over_ten < threshold;
    };
    if ((no_progress(0.001) && state.deform > 1.0) ||
        (no_progress(0.000001) && state.deform > 0.01) || crawling(state))
      verdict.finished = true;
  }
  if (robust_ && state.found && state.deform < robust_edges_ / 1e12 &&
      state.deforp < std::max(robust_faces_, 1) / 1e12)
    verdict.finished = true;
  if (run_mode_ == 3 && countdown_ < 1) {
    if (state.change < 0.000000001 && !expanding && state.deform > 0.0001) {
      countdown_ = 3;
    } else {
      --countdown_;
    }
  }
  return verdict;
}

// A Deform that crawls (falling as 1/iterations, say, as a model with no exact shape does) would
// run to the iteration limit unsettled. Between powers of two of the iterations the least Deform
// is kept (so one sample of an oscillation judges nothing); from 131072 iterations on, at each
// power of two, the fall of that least value since the window before is taken as a power law
// and followed down to the mark of a settled model (0.001). An attempt that would not reach it
// within ten times the limit, or whose least Deform has not fallen at all over the window, is
// given up. Attempts that settle are long done by then.
bool Convergence::crawling(const StepState& state) {
  const std::int64_t t = state.iteration;
  window_least_ = window_least_ < 0.0 ? state.deform : std::min(window_least_, state.deform);
  if (t < 65536 || (t & (t - 1)) != 0) return false;
  const double then = last_window_least_;
  const double now = window_least_;
  last_window_least_ = now;
  window_least_ = -1.0;
  if (then < 0.0 || now <= 0.001) return false;
  if (!(then > now)) return true;  // not falling at all
  const double power = std::log2(then / now);
  const double reach = static_cast<double>(t) * std::pow(now / 0.001, 1.0 / power);
  return reach > 10.0 * static_cast<double>(limit_);
}

StallVerdict Convergence::stall_test(std::int64_t iteration, double deform, double deforp,
                                     double moved) {
  StallVerdict verdict;
  if (moved < 0.000000000000001 && stall_iteration_ < 0) {
    stall_iteration_ = iteration;
    stall_value_ = deform + deforp;
  }
  if (stall_iteration_ < 0 || iteration - stall_iteration_ <= 100) return verdict;
  const double sum = deform + deforp;
  verdict.due = true;
  verdict.improving = sum < stall_value_;
  verdict.since = stall_iteration_;
  verdict.gain = sum - stall_value_;
  if (verdict.improving) {
    stall_iteration_ = iteration;
    stall_value_ = sum;
  }
  return verdict;
}

}  // namespace ostrel
