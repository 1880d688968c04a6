// Taking a finished attempt in attempt order, and the writing that follows from it: whether
// the isomorph is new and settled, its files, the completion messages, the segmented files.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/attempt.h"
#include "engine/run_shared.h"
#include "prepare/isomorph.h"

namespace ostrel {

inline constexpr int kMaxIsomorphs = 500;

class IsomorphFinish {
 public:
  explicit IsomorphFinish(RunState& state) : s_(state) {}

  // A pass starts: no new isomorph written yet.
  void start_pass() { new_written_ = 0; }

  // Takes the attempt (its model and relaxation become the run's) as it ended.
  Next take(std::unique_ptr<Attempt> attempt, AttemptEnd end, bool ran_ahead);
  // After the last segment: the realm section, then the segmented files and their message.
  Next write_segmented(bool read_realms, const std::string& unclosed_message = {});
  Next write_as_entered(Attempt& attempt);
  // Whether a signature equals that of an isomorph found before.
  bool is_duplicate(double value) const;

 private:
  Next finish_isomorph();
  Next next_isomorph();
  Next write_and_end(const std::string& code, const std::string& text);
  Signature compute_signature();

  RunState& s_;
  std::array<double, kMaxIsomorphs + 1> signatures_{};
  std::string output_name_;
  bool found_ = false;
  int new_written_ = 0;
};

}  // namespace ostrel
