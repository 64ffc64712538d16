#pragma once
// Deterministic pseudo-random numbers for the simulated unit (splitmix64). The same seed gives the
// same meter movement and the same line faults on every machine and compiler, so a failing run
// can be repeated exactly; the standard library's distributions give no such promise.

#include <cstdint>

namespace velmark {

class SimRandom {
 public:
  explicit SimRandom(std::uint64_t seed = 1) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1), from the top 53 bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

  double Between(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

  // Uniform in 0..n-1; n must be positive.
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }

  // True with probability p. Draws nothing when p <= 0, so a fault that is off leaves the
  // sequence of the others unchanged.
  bool Chance(double p) { return p > 0.0 && Uniform() < p; }

 private:
  std::uint64_t state_;
};

}  // namespace velmark
