// Everything the generator chooses beyond the fixed data: the seeds of the dot-bias and
// ahead-weight cycles and the shaping of the restart tables.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_TABLE_CHOICE_H
#define KORVEL_TOOLS_ED_TABLES_GEN_TABLE_CHOICE_H

#include <cstdint>

#include "restart_tables.h"

struct TableChoice {
  uint64_t dotBiasSeed = 0;
  uint64_t weightSeed = 0;
  RestartShaping shaping;
};

#endif
