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
  void seed(std::uint64_t value) { engine_.seed(value); }
  // Uniform in [0, 1), with 53 random bits.
  double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 engine_;
};

}  // namespace ostrel
