// The image error-diffusion screen: the amount grid and the row loop over the kernel.
#include "image/error_diffusion_screen.h"

#include <cstddef>
#include <memory>

#include "config/tone_curve.h"
#include "image/error_diffusion_kernel.h"
#include "template/raster_geometry.h"

void DiffuseAmountGrid(unsigned char* destination, const uint16_t* amounts, int width, int height) {
  if (width < 1 || height < 1) return;
  const size_t stride = static_cast<size_t>(Stride8(width));
  ImageErrorDiffusion diffusion(width, g_toneCurve);
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, amounts + static_cast<size_t>(y) * width, destination + y * stride);
  }
}

void RunErrorDiffusionScreen(unsigned char* source, unsigned char* destination, int width,
                             int height) {
  if (width < 1 || height < 1) return;
  const size_t stride = static_cast<size_t>(Stride8(width));
  const size_t rowLength = static_cast<size_t>(width);
  std::unique_ptr<uint16_t[]> amounts(new uint16_t[rowLength * height]);
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = source + y * stride;
    uint16_t* out = amounts.get() + y * rowLength;
    for (size_t x = 0; x < rowLength; ++x) out[x] = static_cast<uint16_t>(10 * in[x]);
  }
  DiffuseAmountGrid(destination, amounts.get(), width, height);
}
