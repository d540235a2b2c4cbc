// Screening a grey page band by band through the library's row stream, so that neither the
// page nor its screened raster is ever held whole: every screen of the caller's image (error or
// template diffusion, the dot screens, the matrix, korvel's own screens) at 1 or 2 bits, from a
// binary PGM to a PBM or PGM.
#ifndef KORVEL_TOOL_BANDED_SCREEN_H
#define KORVEL_TOOL_BANDED_SCREEN_H

#include <string>

#include "image_writer.h"
#include "ink_screen.h"
#include "progress.h"

// Rows screened at a time.
constexpr int kBandRows = 64;

// Whether the row stream can screen with these settings into this format.
bool ScreensInBands(const ScreenSettings& screen, ImageFormat output);

// Screens input into output band by band and returns true; returns false, having done
// nothing, when input is not a binary PGM of at most 8 bits (the caller then reads it whole).
bool ScreenInBands(const std::string& input, const std::string& output, ImageFormat format,
                   const InkSettings& ink, const ScreenSettings& screen, Progress& progress);

#endif
