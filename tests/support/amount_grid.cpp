#include "support/amount_grid.h"

#include <cstddef>

#include "core/raster_geometry.h"

namespace test {

void DiffuseAmountGrid(const int32_t* toneCurve, const uint16_t* amounts,
                       unsigned char* destination, int width, int height) {
  if (width < 1 || height < 1) return;
  const size_t stride = static_cast<size_t>(Stride8(width));
  ImageErrorDiffusion diffusion(width, toneCurve);
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, amounts + static_cast<size_t>(y) * width, destination + y * stride);
  }
}

}  // namespace test
