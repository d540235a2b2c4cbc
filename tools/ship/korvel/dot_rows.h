// Rows of a screened raster in the sample order image files use: pixels packed most
// significant first, no row padding, the bits past the last pixel cleared.
#ifndef KORVEL_TOOL_DOT_ROWS_H
#define KORVEL_TOOL_DOT_ROWS_H

#include <cstddef>
#include <cstdint>

#include "raster.h"

// Bytes of one packed row of width pixels at bits per pixel.
size_t PackedRowBytes(int width, int bits);

// Row y as dot codes (0 no dot, the largest code a full dot): the samples of a min-is-white
// file such as PBM or a fax-coded TIFF.
void InkRow(const DotRaster& raster, int y, uint8_t* out);

// Row y as grey samples, paper white at the largest value and a full dot black at 0, smaller
// drops as lighter greys: the samples of a min-is-black file such as PNG.
void GreyRow(const DotRaster& raster, int y, uint8_t* out);

#endif
