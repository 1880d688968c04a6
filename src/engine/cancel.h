// One cancel for the whole run. Work that can take long (a robust start's build, its layout,
// each least-squares step, the relaxation) asks `stopped()` between its steps. The flag may be
// set from any thread; `ask`, given only to the work on the run's own thread, lets the user's
// buttons (Quit, Ctrl-C) be heard meanwhile, at most every 50 ms and first 50 ms after the
// check is made (a start that takes less is not interrupted by a poll).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

namespace ostrel {

class CancelCheck {
 public:
  CancelCheck() = default;
  explicit CancelCheck(const std::atomic<bool>* flag, std::function<bool()> ask = {})
      : flag_(flag), ask_(std::move(ask)), asked_(std::chrono::steady_clock::now()) {}

  // Whether the work is called off. Once true it stays true.
  bool stopped() const {
    if (stopped_) return true;
    if (flag_ && flag_->load(std::memory_order_relaxed)) return stopped_ = true;
    if (!ask_) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - asked_ < std::chrono::milliseconds(50)) return false;
    asked_ = now;
    return stopped_ = ask_();
  }

 private:
  const std::atomic<bool>* flag_ = nullptr;
  std::function<bool()> ask_;
  mutable bool stopped_ = false;
  mutable std::chrono::steady_clock::time_point asked_{};
};

}  // namespace ostrel
