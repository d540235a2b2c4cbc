// Generates src/image/error_diffusion_tables_data.cpp, the built-in tables of the image
// error-diffusion screen:
//   ed_tables_gen OUTPUT.cpp   write the tables
//   ed_tables_gen --stats      print the long-run statistics the restart tables come from
// Deterministic: the same program always writes the same file.
#include <cstdio>
#include <cstring>

#include "cycles.h"
#include "emit.h"
#include "restart_tables.h"

namespace {

constexpr uint64_t kDotBiasSeed = 0x6B6F7276656C0001ULL;
constexpr uint64_t kWeightSeed = 0x6B6F7276656C0002ULL;

TableSet FixedTables() {
  TableSet tables;
  tables.dotBias = MakeDotBiasCycle(kDotBiasSeed);
  tables.aheadWeightCycle = MakeAheadWeightCycle(kWeightSeed);
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp | --stats\n", argv[0]);
    return 2;
  }
  TableSet tables = FixedTables();
  if (std::strcmp(argv[1], "--stats") == 0) {
    PrintSteadyStateStatistics(tables);
    return 0;
  }
  BuildRestartTables(tables);
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  EmitTableSource(tables, out);
  return std::fclose(out) == 0 ? 0 : 1;
}
