// Writes the chosen knobs as the C++ source of the fine screen's trained knobs.
#ifndef KORVEL_TOOLS_FINE_TABLES_GEN_EMIT_TONES_H
#define KORVEL_TOOLS_FINE_TABLES_GEN_EMIT_TONES_H

#include <cstdio>

#include "image/fine_screen_tones.h"

// `provenance` is a comment block (lines starting with "//") written at the top.
void EmitToneSource(const FineTones& oneBit, const FineTones& threeDrops, const char* provenance,
                    std::FILE* out);

#endif
