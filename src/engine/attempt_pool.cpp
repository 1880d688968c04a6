#include "engine/attempt_pool.h"

#include <chrono>

namespace ostrel {
namespace {

// An attempt run ahead looks only whether it has been called off.
class AheadObserver final : public AttemptObserver {
 public:
  explicit AheadObserver(const std::atomic<bool>& cancel) : cancel_(cancel) {}
  AttemptEnd poll(Attempt&) override {
    return cancel_.load() ? AttemptEnd::kQuit : AttemptEnd::kFinished;
  }

 private:
  const std::atomic<bool>& cancel_;
};

}  // namespace

void AttemptPool::launch(std::unique_ptr<Attempt> attempt) {
  const int number = attempt->plan().number;
  auto slot = std::make_unique<Slot>();
  slot->attempt = std::move(attempt);
  Slot* raw = slot.get();
  raw->attempt->cancel = &raw->cancel;
  slot->thread = std::thread([raw] {
    try {
      raw->attempt->start();
      AheadObserver observer(raw->cancel);
      raw->end = raw->attempt->relax(observer);
    } catch (...) {
      raw->error = std::current_exception();
    }
    raw->done = true;
  });
  slots_[number] = std::move(slot);
}

AttemptPool::Taken AttemptPool::take(int number, const std::function<bool(const Attempt&)>& idle) {
  Slot& slot = *slots_.at(number);
  while (!slot.done.load()) {
    if (!idle(*slot.attempt)) slot.cancel = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  slot.thread.join();
  Taken taken{std::move(slot.attempt), slot.cancel.load() ? AttemptEnd::kQuit : slot.end,
              slot.error};
  slots_.erase(number);
  return taken;
}

void AttemptPool::cancel_all() {
  for (auto& [number, slot] : slots_) slot->cancel = true;
  for (auto& [number, slot] : slots_) {
    if (slot->thread.joinable()) slot->thread.join();
  }
  slots_.clear();
}

}  // namespace ostrel
