// Writes a table set as the C++ source of the library's built-in tables.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_EMIT_H
#define KORVEL_TOOLS_ED_TABLES_GEN_EMIT_H

#include <cstdio>

#include "table_set.h"

#include <string>

// The tables as a C++ source file; `record` (comment lines) goes into its header.
void EmitTableSource(const TableSet& tables, const std::string& record, std::FILE* out);

#endif
