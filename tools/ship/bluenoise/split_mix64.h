// SplitMix64: the one pseudo-random generator of the table and mask generators. Small, fast and
// identical on every platform, so generated data never depends on the machine that made it.
#ifndef KORVEL_TOOLS_SPLIT_MIX64_H
#define KORVEL_TOOLS_SPLIT_MIX64_H

#include <cstdint>

class SplitMix64 {
 public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform integer in 0..bound-1 (the modulo bias is negligible at the spans used).
  int64_t Below(int64_t bound) {
    return static_cast<int64_t>(Next() % static_cast<uint64_t>(bound));
  }
  // Uniform integer in low..high, both included.
  int32_t Between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
  }

 private:
  uint64_t state_;
};

#endif
