#pragma once

#include <cstdint>
#include <cstddef>

namespace kxt::bench {

// A small fixed pseudo-random generator: the same seed gives the same
// sequence with every compiler and standard library.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A value in [0, bound); bound must not be 0. The slight modulo bias does
  // not matter for test data.
  std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }

  // A value in [low, high).
  double Between(double low, double high) {
    const double unit = static_cast<double>(Next() >> 11) * 0x1.0p-53;
    return low + (high - low) * unit;
  }

 private:
  std::uint64_t state_;
};

}  // namespace kxt::bench
