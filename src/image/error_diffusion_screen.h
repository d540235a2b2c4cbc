// The table-driven error-diffusion screen: the default screen of the halftone engine.
#ifndef KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H
#define KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H

#include <cstdint>

// Screen an 8-bit grey raster (row stride (width + 3) & ~3, 255 white) into a raster of the
// same geometry holding 0 (dot) or 255 (no dot) inside the width; padding is not written.
// Each pixel's amount is 10 x grey and its target g_toneCurve[2550 - amount], clamped into
// 0..2550. Deterministic: the result depends only on the input and g_toneCurve. A width or
// height below 1 writes nothing.
void RunErrorDiffusionScreen(unsigned char* source, unsigned char* destination, int width,
                             int height);

// The diffusion itself over a width x height grid of amounts 0..2550 (no row padding; larger
// amounts are read as 2550), into a destination of row stride (width + 3) & ~3.
void DiffuseAmountGrid(unsigned char* destination, const uint16_t* amounts, int width,
                       int height);

#endif
