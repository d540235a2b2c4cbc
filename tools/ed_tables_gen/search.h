// The search that chose the restart shaping: every shaping of a grid is scored on training
// photographs (eye-weighted PSNR, Gaussian sigma 1.5 px, identity tone curve) and checked on
// synthetic horizontal tone jumps (the four rows after every restarting jump between the jump
// greys within 4 points of the steady coverage below). It prints every point, the trade-off
// between the jump rows and the photographs' score, and the best shaping that meets the
// constraints; the generator then carries that shaping as a constant.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H
#define KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_H

#include <string>

#include "restart_tables.h"

// Returns 0 when a shaping met the constraints, 1 otherwise.
int SearchRestartShaping(TableSet tables, const FlatRuns& runs, const std::string& trainingFolder);

#endif
