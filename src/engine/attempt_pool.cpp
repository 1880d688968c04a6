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
  raw->attempt->cancel = &raw->check;
  slot->thread = std::thread([this, raw] {
    try {
      raw->attempt->start();
      AheadObserver observer(raw->cancel);
      raw->end = raw->attempt->relax(observer);
    } catch (...) {
      raw->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      raw->done = true;
    }
    ended_.notify_all();
  });
  slots_[number] = std::move(slot);
}

AttemptPool::Taken AttemptPool::take(int number, const std::function<bool(const Attempt&)>& idle) {
  Slot& slot = *slots_.at(number);
  std::unique_lock<std::mutex> lock(mutex_);
  while (!slot.done) {
    lock.unlock();
    if (!idle(*slot.attempt)) slot.cancel = true;
    lock.lock();
    ended_.wait_for(lock, std::chrono::milliseconds(50), [&] { return slot.done; });
  }
  lock.unlock();
  slot.thread.join();
  Taken taken{std::move(slot.attempt), slot.cancel.load() ? AttemptEnd::kQuit : slot.end,
              slot.error};
  slots_.erase(number);
  return taken;
}

void AttemptPool::discard(int number) {
  auto found = slots_.find(number);
  if (found == slots_.end()) return;
  found->second->cancel = true;
  if (found->second->thread.joinable()) found->second->thread.join();
  slots_.erase(found);
}

void AttemptPool::cancel_all() {
  for (auto& [number, slot] : slots_) slot->cancel = true;
  for (auto& [number, slot] : slots_) {
    if (slot->thread.joinable()) slot->thread.join();
  }
  slots_.clear();
}

}  // namespace ostrel
