// The table-driven error-diffusion screen: the default screen of the halftone engine.
#ifndef KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H
#define KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H

#include <cstdint>

// Screen an 8-bit grey raster (row stride (width + 3) & ~3, 255 white) into a raster of the
// same geometry holding 0 (dot) or 255 (no dot) inside the width; padding is not written.
void RunErrorDiffusionScreen(unsigned char* source, unsigned char* destination, int width,
                             int height);

// The diffusion itself over a width x height grid of amounts 0..2550 (no row padding).
void DiffuseAmountGrid(unsigned char* destination, const uint16_t* amounts, int width,
                       int height);

#endif
