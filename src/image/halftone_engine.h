// The halftone engine: screens an image or a test pattern on a grid of enlarged cells.
#ifndef KORVEL_IMAGE_HALFTONE_ENGINE_H
#define KORVEL_IMAGE_HALFTONE_ENGINE_H

#include "core/screening_state.h"

// Screen the width x height intermediate raster (8 bits, stride (width + 3) & ~3) on cells of
// (factor * cellWidth) x (factor * cellHeight) pixels: one reduced pixel per cell, taken from
// the raster (pattern kCallerImage, nearest neighbour) or drawn as a test pattern, widened by
// 10 replicated pixels each side, screened by the template type's screen (or the template
// diffusion when the state asks for it) and enlarged back, clipped at the right and bottom.
// Writes every pixel inside width x height, no row padding. Needs width, height, factor,
// cellWidth, cellHeight >= 1 and a screened grid (cols + 20) x rows whose 8-bit raster fits in
// INT_MAX bytes. The image calls screen the caller's image through the image row stream
// (image_row_stream.h), which walks the same cells, widening and screens one row at a time.
void RunHalftoneEngine(const ScreeningState& state, unsigned char* intermediate, int width,
                       int height, int factor, int cellWidth, int cellHeight, int pattern,
                       int templateType);

#endif
