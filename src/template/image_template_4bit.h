// The 4-bit image path: an 8-bit grey image halftoned with the template diffusion, each pixel
// taking the amount of level index 255 - grey from the state's level table, packed as full or
// empty nibbles.
#ifndef KORVEL_TEMPLATE_IMAGE_TEMPLATE_4BIT_H
#define KORVEL_TEMPLATE_IMAGE_TEMPLATE_4BIT_H

#include <cstddef>

#include "core/screening_state.h"

// Refuses (false, nothing written) a raster size that does not fit and a missing buffer of a
// non-empty image. Packed strides.
bool HalftoneImageTo4Bit(const ScreeningState& state, const unsigned char* source,
                         unsigned char* destination, int width, int height);

// The same at the host's strides, which hold a row of the width (the 8-bit source) and of its
// 4-bit pixels (the destination), the arguments checked by the caller: each destination row
// receives the first min(stride, packed stride) bytes of its packed row.
void HalftoneImageTo4BitAtStrides(const ScreeningState& state, const unsigned char* source,
                                  size_t sourceStride, unsigned char* destination,
                                  size_t destinationStride, int width, int height);

#endif
