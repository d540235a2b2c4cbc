// The halftone command's check that the parameter file a screen reads is usable, as the library
// itself judges it when the quality level is set.
#ifndef KORVEL_TOOL_PARAMETER_FILE_CHECK_H
#define KORVEL_TOOL_PARAMETER_FILE_CHECK_H

#include <string>

#include "screen_table.h"

struct ParameterFileState {
  std::string path;  // the file the library reads at the level, "" when it can compose none
  bool curveUsable;  // the library reads no file curve at the level, or a usable one
};

// What the library makes of the parameter file of a quality level.
ParameterFileState ParameterFileOf(int quality);

// Throws ToolError when the screen reads the parameter file of the quality level (its tone
// curve unless the ink has a curve of its own, or its compensation ramp) and the library finds
// the file missing or unusable.
void RequireParameterFile(int quality, bool ownCurve, const ScreenRule& screen);

#endif
