// Generates src/image/error_diffusion_tables_data.cpp, the built-in tables of the image
// error-diffusion screen:
//   ed_tables_gen OUTPUT.cpp                   write the tables
//   ed_tables_gen --stats                      print the long-run statistics of the restart rows
//   ed_tables_gen --search TRAINING [HELD_OUT] search the table choice on the PGM photographs
//                                              in TRAINING, and report it on those in HELD_OUT
//   ed_tables_gen --rerun-search               run the reduced search recorded below again and
//                                              fail unless it makes the recorded choice
//
// Objective of the restart tables. A restart replaces the error a pixel has gathered with a
// table state. Where a whole row restarts (below a horizontal tone jump) the states must act
// like a steady row, or the first rows carry a band; where single pixels restart inside the
// texture of a photograph, every state is noise added to the image, and a state near the
// steady mean costs least. The tables are steady windows whose errors are pulled towards
// their mean (the shaping below) while every pixel keeps its steady decision through its
// bias, so that a restarted row still has the steady dots. The seeds of the two cycles and
// the shaping were chosen by --search (see search.h): the best mean eye-weighted PSNR
// (Gaussian sigma 1.5 px, identity tone curve) on training photographs that are not in the
// repository (tools/make/quality/training_photos.py makes them), under hard constraints: the four
// rows after every restarting horizontal tone jump within 4 points of the steady coverage
// below, every photograph's mean tone within half a grey level (or no worse than before where
// it already was), no photograph worse than with the first tables, the mean 32 x 32 block error
// no worse, smooth synthetic images at most 0.05 dB worse, horizontal tone edges no worse,
// flat patches that start without a band, and the trends the restart rows are known by.
//
// What the search found: the score barely depends on how far the jump rows are allowed to
// stray. Pulling the errors together recovers a quarter to a third of what restarts cost
// photographs (the screen never restarting scores 1.6 to 2 dB higher than the first tables);
// the rest is the error a pixel had gathered, which no constant state can know. Other cycle seeds
// score lower, and moving the mean further towards 0 costs the rows after a jump their tone without
// a better score.
//
// Deterministic: the same program always writes the same file.
#include <cstdio>
#include <cstring>

#include "cycles.h"
#include "emit.h"
#include "restart_tables.h"
#include "search.h"
#include "search_record.h"
#include "table_choice.h"

namespace {

// The search behind the choice below: run on 20 training photographs that
// tools/make/quality/training_photos.py makes (they are not in the repository), from the
// previous choice, which was not kept.
constexpr SearchPlan kFullSearch = {
    "tools/make/quality/training_photos.py (20 photographs of Debian's python3-skimage)",
    0x6B6F7276656C5345ULL, 8, 320, true};

// The choice the search made (see above), from the previous choice on 20 training photographs:
// the cycles of the first tables; at mid-tones, where photographs restart most, each error
// keeps 0.3 of its distance from the window's mean of its decision class, the two class means
// are pulled together into the window's mean (each pixel's decision then rests on its bias as
// much as on its error), and that mean moves a tenth of the way to 0; the pull fades linearly
// towards both ends of the scale, where flat patches would start with a band.
constexpr TableChoice kChosen = {
    0x6B6F7276656C0001ULL,  // dot-bias cycle seed
    0x6B6F7276656C0002ULL,  // ahead-weight cycle seed
    {
        {0.8, 0.75, 0.3, 0.75, 1.0},  // keep, at targets 0, 638, 1276, 1913, 2551
        {1.0, 0.5, 0.0, 0.5, 0.8},    // apart
        {0.0, 0.05, 0.1, 0.05, 0.0},  // drop
        0.75,                         // row points that cost nothing
        8.0,                          // what a further row point costs
    },
};

// The full search takes hours on photographs outside the repository, so what is searched again
// on every test run is a reduced one: the same search, on the repository's photographs, with a
// small budget, from the choice above with its mid-tone errors kept far less tightly (keep 0.7
// at the middle anchor). Its choice, four moves away, is pinned here; a change to the search, the
// screen or the figures that moves it fails
// --rerun-search.
constexpr SearchPlan kReducedSearch = {"tools/make/quality/photos (the repository's photographs)",
                                       0x6B6F7276656C5345ULL, 2, 24, false};
constexpr TableChoice kReducedStart = {
    kChosen.dotBiasSeed,
    kChosen.weightSeed,
    {{0.8, 0.75, 0.7, 0.75, 1.0},
     {1.0, 0.5, 0.0, 0.5, 0.8},
     {0.0, 0.05, 0.1, 0.05, 0.0},
     0.75,
     8.0},
};
constexpr TableChoice kReducedChoice = {
    kChosen.dotBiasSeed,
    kChosen.weightSeed,
    {{1.0, 0.55, 0.7, 0.55, 1.0}, {1.0, 0.5, 0.0, 0.5, 0.8}, {0.0, 0.0, 0.1, 0.05, 0.0}, 0.75, 8.0},
};

std::string Record() {
  return SearchRecord("The search behind this choice", kFullSearch, nullptr,
                      "the previous choice (not kept)", kChosen) +
         SearchRecord("The reduced search that ed_tables_gen --rerun-search repeats",
                      kReducedSearch, &kReducedStart, "", kReducedChoice);
}

int RerunReducedSearch() {
  TableChoice found;
  if (!SearchTableChoice(kReducedStart, kReducedSearch, KORVEL_QUALITY_PHOTOS, &found)) {
    std::fprintf(stderr, "the reduced search found no choice\n");
    return 1;
  }
  if (ChoiceText(found) != ChoiceText(kReducedChoice)) {
    std::fprintf(stderr, "the reduced search chose\n  %s\nbut the record says\n  %s\n",
                 ChoiceText(found).c_str(), ChoiceText(kReducedChoice).c_str());
    return 1;
  }
  std::printf("the reduced search makes the recorded choice\n");
  return 0;
}

int WriteTables(const char* path) {
  TableSet tables = TablesWithCycles(kChosen.dotBiasSeed, kChosen.weightSeed);
  BuildRestartTables(tables, RunFlatRuns(tables), kChosen.shaping);
  std::FILE* out = std::fopen(path, "w");
  if (!out) {
    std::perror(path);
    return 1;
  }
  EmitTableSource(tables, Record(), out);
  return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool search = (argc == 3 || argc == 4) && std::strcmp(argv[1], "--search") == 0;
  if (argc != 2 && !search) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT.cpp | --stats | --search TRAINING [HELD_OUT] | --rerun-search\n",
                 argv[0]);
    return 2;
  }
  if (search) {
    TableChoice chosen;
    if (!SearchTableChoice(kChosen, kFullSearch, argv[2], &chosen)) return 1;
    ReportTableChoice(kChosen, chosen, argv[2], argc == 4 ? argv[3] : "");
    return 0;
  }
  if (std::strcmp(argv[1], "--rerun-search") == 0) return RerunReducedSearch();
  if (std::strcmp(argv[1], "--stats") == 0) {
    const TableSet tables = TablesWithCycles(kChosen.dotBiasSeed, kChosen.weightSeed);
    PrintSteadyStateStatistics(RunFlatRuns(tables));
    return 0;
  }
  return WriteTables(argv[1]);
}
