// Test-side drivers of the image error-diffusion kernel: the diffusion over a grid of ink
// amounts rather than grey levels, and the exact division that the per-mille shares rest on.
#ifndef KORVEL_TESTS_SUPPORT_AMOUNT_GRID_H
#define KORVEL_TESTS_SUPPORT_AMOUNT_GRID_H

#include <cstdint>

#include "image/error_diffusion_kernel.h"

namespace test {

// The diffusion over a width x height grid of amounts 0..2550 (no row padding; larger amounts
// are read as 2550), into a destination of row stride (width + 3) & ~3, with this tone curve.
void DiffuseAmountGrid(const int32_t* toneCurve, const uint16_t* amounts,
                       unsigned char* destination, int width, int height);

// n / 1000 truncated toward zero through the kernel's multiply and shift.
inline int32_t DivideBy1000(int32_t n) {
  return ScalePerMille(n, PerMilleMultiplier(1));
}

}  // namespace test

#endif
