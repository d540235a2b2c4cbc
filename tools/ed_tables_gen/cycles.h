// The dot-bias and weight cycles: pinned first entries, then a deterministic pseudo-random
// walk over the allowed range that touches both ends of it.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H
#define KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H

#include <cstdint>
#include <vector>

#include "bluenoise/split_mix64.h"

std::vector<int32_t> MakeDotBiasCycle(uint64_t seed);
std::vector<int32_t> MakeAheadWeightCycle(uint64_t seed);
std::vector<int32_t> BelowWeightCycleOf(const std::vector<int32_t>& ahead);

#endif
