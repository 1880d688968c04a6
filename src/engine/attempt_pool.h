// Attempts run ahead on threads of their own while the run takes the earlier ones in order.
// Every attempt is called off as soon as the run no longer needs it; none talks to the user.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <map>
#include <memory>
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

  // Waits for attempt `number`, calling `idle` with it every 20 ms meanwhile; when `idle`
  // returns false the attempt is called off and its Taken comes back with end kQuit.
  Taken take(int number, const std::function<bool(const Attempt&)>& idle);

  // Calls off every attempt and waits for its thread.
  void cancel_all();

 private:
  struct Slot {
    std::unique_ptr<Attempt> attempt;
    std::thread thread;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    AttemptEnd end = AttemptEnd::kFinished;
    std::exception_ptr error;
  };
  std::map<int, std::unique_ptr<Slot>> slots_;
};

}  // namespace ostrel
