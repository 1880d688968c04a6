// Attempts run ahead on threads of their own while the run takes the earlier ones in order.
// Every attempt is called off as soon as the run no longer needs it; none talks to the user.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/attempt.h"

namespace ostrel {

class AttemptPool {
 public:
  AttemptPool() = default;
  ~AttemptPool() { cancel_all(); }
  AttemptPool(const AttemptPool&) = delete;
  AttemptPool& operator=(const AttemptPool&) = delete;

  struct Taken {
    std::unique_ptr<Attempt> attempt;
    AttemptEnd end = AttemptEnd::kFinished;
    std::exception_ptr error;  // what the attempt raised (an overflow), for the run to report
  };

  bool has(int number) const { return slots_.count(number) > 0; }
  int size() const { return static_cast<int>(slots_.size()); }

  // Starts and relaxes the attempt on a thread of its own.
  void launch(std::unique_ptr<Attempt> attempt);

  // Waits for attempt `number`, waking the moment it ends; meanwhile `idle` is called with it
  // at once and then every 50 ms. When `idle` returns false the attempt is called off and its
  // Taken comes back with end kQuit.
  Taken take(int number, const std::function<bool(const Attempt&)>& idle);

  // The plan attempt `number` was launched with (it must be there).
  const AttemptPlan& plan(int number) const { return slots_.at(number)->attempt->plan(); }
  // Calls off attempt `number` and waits for its thread: it was launched with a plan that no
  // longer holds.
  void discard(int number);

  // Calls off every attempt and waits for its thread.
  void cancel_all();

 private:
  struct Slot {
    std::unique_ptr<Attempt> attempt;
    std::thread thread;
    std::atomic<bool> cancel{false};
    CancelCheck check{&cancel};
    bool done = false;  // guarded by the pool's mutex
    AttemptEnd end = AttemptEnd::kFinished;
    std::exception_ptr error;
  };
  std::map<int, std::unique_ptr<Slot>> slots_;
  std::mutex mutex_;
  std::condition_variable ended_;  // an attempt run ahead has ended
};

}  // namespace ostrel
