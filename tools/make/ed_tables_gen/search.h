// The search behind the generator's table choice. A choice is scored by its mean eye-weighted
// PSNR (Gaussian sigma 1.5 px, identity tone curve) on training photographs, subject to hard
// constraints: the four rows after every restarting horizontal jump between the jump greys
// within 3.5 points of the steady coverage below (4 with a margin), every photograph's mean
// tone within half a grey level (or no worse where it already was beyond), no photograph worse
// than with the first tables (smooth synthetic images by at most 0.05 dB, horizontal tone edges
// not at all), the mean 32 x 32 block error no worse, flat patches that start without a band,
// and the trends of the restart rows (large positive errors in the light rows, large negative
// ones in the darkest, about 41 % bias-free states in row 100). From the given start it maps
// the trade-off with even pulls of the mid-tones, tries other cycle seeds, then moves one
// shaping parameter at a time (a coordinate search whose steps halve when no move helps) for a
// fixed number of evaluations, taking a move that meets the constraints and scores better. It
// prints every point, the trade-off between the jump rows and the score, the choice, and the
// figures of the first tables, the choice and the screen without restarts on every training
// photograph and on every photograph of the held-out folder, which plays no part in the choice.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H
#define KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H

#include <string>

#include "table_choice.h"

// Returns 0 when a choice met the constraints, 1 otherwise.
int SearchTableChoice(const TableChoice& start, const std::string& trainingFolder,
                      const std::string& heldOutFolder);

#endif
