// Writes a table set as the C++ source of the library's built-in tables.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_EMIT_H
#define KORVEL_TOOLS_ED_TABLES_GEN_EMIT_H

#include <cstdio>

#include "table_set.h"

void EmitTableSource(const TableSet& tables, std::FILE* out);

#endif
