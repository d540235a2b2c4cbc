// The dot-bias and weight cycles: pinned first entries, then a deterministic pseudo-random
// walk over the allowed range that touches both ends of it.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H
#define KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H

#include <cstdint>
#include <vector>

// A deterministic 64-bit generator (splitmix64), so the tables never depend on the platform.
class SplitMix64 {
 public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in low..high (inclusive); the modulo bias is irrelevant at these spans.
  int32_t Between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
  }

 private:
  uint64_t state_;
};

std::vector<int32_t> MakeDotBiasCycle(uint64_t seed);
std::vector<int32_t> MakeAheadWeightCycle(uint64_t seed);
std::vector<int32_t> BelowWeightCycleOf(const std::vector<int32_t>& ahead);

#endif
