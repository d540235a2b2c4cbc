// Generates src/image/error_diffusion_tables_data.cpp, the built-in tables of the image
// error-diffusion screen:
//   ed_tables_gen OUTPUT.cpp         write the tables
//   ed_tables_gen --stats            print the long-run statistics the restart tables come from
//   ed_tables_gen --search FOLDER    search the restart shaping on the PGM photographs in FOLDER
//
// Objective of the restart tables. A restart replaces the error a pixel has gathered with a
// table state. Where a whole row restarts (below a horizontal tone jump) the states must act
// like a steady row, or the first rows carry a band; where single pixels restart inside the
// texture of a photograph, every state is noise added to the image, and a state near the
// steady mean costs least. The tables are steady windows whose errors are pulled towards
// their mean (the shaping below) while every pixel keeps its steady decision through its
// bias, so that a restarted row still has the steady dots. How far to pull was found by
// --search: the best eye-weighted PSNR (Gaussian sigma 1.5 px, identity tone curve) on
// training photographs that are not in the repository (tools/quality/import_photos.py brings
// them in), with the four rows after every restarting horizontal tone jump within 4 points of
// the steady coverage below as a hard constraint, every photograph's mean tone within half a
// grey level (or no worse than before where it already was), no photograph worse than with the
// first tables, smooth synthetic images at most 0.05 dB worse, and flat patches that start
// without a band.
//
// Deterministic: the same program always writes the same file.
#include <cstdio>
#include <cstring>

#include "cycles.h"
#include "emit.h"
#include "restart_tables.h"
#include "search.h"

namespace {

constexpr uint64_t kDotBiasSeed = 0x6B6F7276656C0001ULL;
constexpr uint64_t kWeightSeed = 0x6B6F7276656C0002ULL;

// The shaping the search chose (see above): at mid-tones, where photographs restart most, each
// error keeps half its distance from the window's mean of its decision class, the two class
// means are pulled together into the window's mean (each pixel's decision then rests on its
// bias as much as on its error), and that mean moves a tenth of the way to 0; the pull fades
// linearly to nothing at both ends of the scale, where flat patches would start with a band.
constexpr RestartShaping kChosenShaping = {
    1.0, 0.5, 1.0,  // keep: light, mid, dark
    1.0, 0.0, 1.0,  // apart
    0.0, 0.1, 0.0,  // drop
};

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
  const bool search = argc == 3 && std::strcmp(argv[1], "--search") == 0;
  if (argc != 2 && !search) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp | --stats | --search FOLDER\n", argv[0]);
    return 2;
  }
  TableSet tables = FixedTables();
  const FlatRuns runs = RunFlatRuns(tables);
  if (search) return SearchRestartShaping(tables, runs, argv[2]);
  if (std::strcmp(argv[1], "--stats") == 0) {
    PrintSteadyStateStatistics(runs);
    return 0;
  }
  BuildRestartTables(tables, runs, kChosenShaping);
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  EmitTableSource(tables, out);
  return std::fclose(out) == 0 ? 0 : 1;
}
