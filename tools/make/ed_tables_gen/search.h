// The search behind the generator's table choice. A choice is scored by its mean eye-weighted
// PSNR (Gaussian sigma 1.5 px, identity tone curve) on training photographs, subject to hard
// constraints: the four rows after every restarting horizontal jump between the jump greys
// within 3.5 points of the steady coverage below (4 with a margin), every photograph's mean
// tone within half a grey level (or no worse where it already was beyond), no photograph worse
// than with the first tables (smooth synthetic images by at most 0.05 dB, horizontal tone edges
// not at all), the mean 32 x 32 block error no worse, flat patches that start without a band,
// and the trends of the restart rows (large positive errors in the light rows, large negative
// ones in the darkest, about 41 % bias-free states in row 100). From the given start it maps
// the trade-off with even pulls of the mid-tones (when the plan says so), tries other cycle
// seeds, then moves one
// shaping parameter at a time (a coordinate search whose steps halve when no move helps) for a
// fixed number of evaluations, taking a move that meets the constraints and scores better. It
// prints every point, the trade-off between the jump rows and the score, and the choice; the
// report then gives the figures of the first tables, the choice and the screen without restarts
// on every training photograph and on every photograph of the held-out folder, which plays no
// part in the choice.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H
#define KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H

#include <cstdint>
#include <string>

#include "table_choice.h"

// What a search runs with besides its start and its photographs; the generator writes it into
// the header of the tables it emits (search_record.h).
struct SearchPlan {
  const char* trainingSet;  // what makes the training photographs
  uint64_t seed;            // of the other cycle seeds tried
  int seedTrials;           // other cycle seeds tried from the start
  int evaluations;          // the budget of the whole search
  bool mapTradeOff;         // whether the even mid-tone pulls are mapped first
};

// Runs the search on the PGM photographs in trainingFolder. True, with the choice in `chosen`,
// when one met the constraints.
bool SearchTableChoice(const TableChoice& start, const SearchPlan& plan,
                       const std::string& trainingFolder, TableChoice* chosen);

// The figures of the first tables and of the chosen ones on every photograph in trainingFolder
// and in heldOutFolder (none when empty).
void ReportTableChoice(const TableChoice& start, const TableChoice& chosen,
                       const std::string& trainingFolder, const std::string& heldOutFolder);

#endif
