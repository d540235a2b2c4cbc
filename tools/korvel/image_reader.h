// Reading the 8-bit grey image that the halftone command screens.
#ifndef KORVEL_TOOL_IMAGE_READER_H
#define KORVEL_TOOL_IMAGE_READER_H

#include <cstdio>
#include <string>

#include "progress.h"
#include "raster.h"

// Reads a PNG (any colour type and depth: colour is converted to grey, 16 bits reduced to 8,
// transparency laid over white paper) or a PGM/PBM (binary or plain). The format is told by the
// file's first bytes, not by its name. Throws ToolError "<path>: <reason>" for a missing,
// empty, truncated, corrupt, unsupported or oversized file.
GreyImage ReadGreyImage(const std::string& path, Progress& progress);

// The format readers, given the file open at its first byte.
GreyImage ReadPngImage(FILE* file, const std::string& path, Progress& progress);
GreyImage ReadPnmImage(FILE* file, const std::string& path, Progress& progress);

#endif
