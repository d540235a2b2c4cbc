// The dot-bias and weight cycles: pinned first entries, then a deterministic pseudo-random
// walk over the allowed range that touches both ends of it.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H
#define KORVEL_TOOLS_ED_TABLES_GEN_CYCLES_H

#include <cstdint>
#include <vector>

#include "bluenoise/split_mix64.h"
#include "table_set.h"

std::vector<int32_t> MakeDotBiasCycle(uint64_t seed);
std::vector<int32_t> MakeAheadWeightCycle(uint64_t seed);
std::vector<int32_t> BelowWeightCycleOf(const std::vector<int32_t>& ahead);

// A table set with the cycles of the two seeds and the fixed light tables; the restart tables
// are left empty.
TableSet TablesWithCycles(uint64_t dotBiasSeed, uint64_t weightSeed);

#endif
