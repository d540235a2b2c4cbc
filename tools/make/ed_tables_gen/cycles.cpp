#include "cycles.h"

#include <cstddef>

#include "image/error_diffusion_tables.h"

namespace {

// Pinned head, pseudo-random tail within low..high, and the two range ends placed once each
// at pseudo-random positions of the tail.
std::vector<int32_t> MakeCycle(int size, const std::vector<int32_t>& head, int32_t low,
                               int32_t high, uint64_t seed) {
  SplitMix64 random(seed);
  std::vector<int32_t> cycle(head);
  while (static_cast<int>(cycle.size()) < size) cycle.push_back(random.Between(low, high));
  const int tail = size - static_cast<int>(head.size());
  const int lowAt = static_cast<int>(head.size()) + random.Between(0, tail / 2 - 1);
  const int highAt = static_cast<int>(head.size()) + tail / 2 + random.Between(0, tail / 2 - 1);
  cycle[lowAt] = low;
  cycle[highAt] = high;
  return cycle;
}

}  // namespace

std::vector<int32_t> MakeDotBiasCycle(uint64_t seed) {
  return MakeCycle(kImgDotBiasCycle, {494, 543, 494, 494, 504, 594}, 474, 594, seed);
}

std::vector<int32_t> MakeAheadWeightCycle(uint64_t seed) {
  return MakeCycle(kImgWeightCycle, {344, 379, 344, 343}, 327, 415, seed);
}

std::vector<int32_t> BelowWeightCycleOf(const std::vector<int32_t>& ahead) {
  std::vector<int32_t> below(ahead.size());
  for (size_t i = 0; i < ahead.size(); ++i) below[i] = kImgSplitWeightSum - ahead[i];
  return below;
}

TableSet TablesWithCycles(uint64_t dotBiasSeed, uint64_t weightSeed) {
  TableSet tables;
  tables.dotBias = MakeDotBiasCycle(dotBiasSeed);
  tables.aheadWeightCycle = MakeAheadWeightCycle(weightSeed);
  tables.belowWeightCycle = BelowWeightCycleOf(tables.aheadWeightCycle);
  for (int t = 0; t < kImgTargetCount; ++t) {
    tables.lightWeightA[t] = ImgLightWeightA(t);
    tables.lightWeightB[t] = ImgLightWeightB(t);
  }
  for (int t = 0; t < kImgLightTableSize; ++t) {
    tables.lightDotSpacing[t] = ImgLightDotSpacing(t);
    tables.lightResetError[t] = ImgLightResetError(t);
  }
  return tables;
}
