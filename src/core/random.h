// The run's one random generator. The same seed gives the same draws on every platform: the
// generator is a fixed algorithm and the conversion to [0, 1) is done here, not by a library
// distribution.
#pragma once

#include <cstdint>
#include <random>

namespace ostrel {

class Random {
 public:
  explicit Random(std::uint64_t seed = 1) : engine_(seed) {}
  void seed(std::uint64_t value) {
    engine_.seed(value);
    draws_ = 0;
  }
  // Uniform in [0, 1), with 53 random bits.
  double uniform() {
    ++draws_;
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
  }
  // Passes over `count` draws, as if they had been made.
  void skip(std::uint64_t count) {
    engine_.discard(count);
    draws_ += count;
  }
  // The draws made (or skipped) since the seed was set.
  std::uint64_t draws() const { return draws_; }

 private:
  std::mt19937_64 engine_;
  std::uint64_t draws_ = 0;
};

}  // namespace ostrel
