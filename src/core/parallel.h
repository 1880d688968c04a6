// Work split over threads by rows. Each row is computed by exactly one thread, in the same way
// whatever the number of threads, so that results never depend on how many threads ran.
#pragma once

#include <algorithm>
#include <thread>
#include <vector>

namespace ostrel {

// The cores this machine has (at least 1).
inline int available_cores() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// The number of threads to use for `jobs` asked (0: one per core): never more than the cores,
// since threads beyond them only wait for one another.
inline int thread_count(int jobs) {
  if (jobs > 0) return std::min(jobs, available_cores());
  return available_cores();
}

// Calls work(begin, end) on consecutive ranges of rows 0..rows-1, on at most `threads` threads
// (the calling thread takes the first range). Returns when every range is done.
template <class Work>
void parallel_rows(int rows, int threads, const Work& work) {
  threads = std::clamp(threads, 1, std::max(rows, 1));
  if (threads == 1) {
    work(0, rows);
    return;
  }
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<std::size_t>(threads - 1));
  const auto range_begin = [&](int k) {
    return static_cast<int>(static_cast<long long>(rows) * k / threads);
  };
  for (int k = 1; k < threads; ++k) {
    helpers.emplace_back([&, k] { work(range_begin(k), range_begin(k + 1)); });
  }
  work(0, range_begin(1));
  for (auto& helper : helpers) helper.join();
}

}  // namespace ostrel
