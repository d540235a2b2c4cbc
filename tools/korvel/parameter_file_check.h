// The halftone command's check that the parameter file a screen reads is there.
#ifndef KORVEL_TOOL_PARAMETER_FILE_CHECK_H
#define KORVEL_TOOL_PARAMETER_FILE_CHECK_H

#include "screen_table.h"

// Throws ToolError when the screen reads the parameter file of the quality level (its tone
// curve at a level above 0, or its compensation ramp) and the file cannot be read.
void RequireParameterFile(int quality, const ScreenRule& screen);

#endif
