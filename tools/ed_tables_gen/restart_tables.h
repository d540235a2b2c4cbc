// The restart tables: for every target bucket, a window of 256 steady-state pixel states of a
// long flat run, chosen to carry the run's tone, with the fixed rows and ranges imposed.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_RESTART_TABLES_H
#define KORVEL_TOOLS_ED_TABLES_GEN_RESTART_TABLES_H

#include "table_set.h"

// The target whose flat run stands for a bucket: the bucket itself below 10, otherwise the
// lowest target of the bucket (the one an 8-bit grey level maps to).
int RepresentativeTarget(int bucket);

// Fill tables.restartError and tables.restartBias; the cycles and light tables must be set.
void BuildRestartTables(TableSet& tables);

// Print the long-run statistics of every bucket (a look at what the tables are built from).
void PrintSteadyStateStatistics(const TableSet& tables);

#endif
