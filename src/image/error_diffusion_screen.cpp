// The image error-diffusion screen: the amount grid and the row loop over the kernel.
#include "image/error_diffusion_screen.h"

#include <cstddef>

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

// The amounts are ten times the grey levels; the kernel reads the grey rows directly, which
// gives the same result as building the amount grid first, without the grid.
void RunErrorDiffusionScreen(unsigned char* source, unsigned char* destination, int width,
                             int height) {
  if (width < 1 || height < 1) return;
  const size_t stride = static_cast<size_t>(Stride8(width));
  ImageErrorDiffusion diffusion(width, g_toneCurve);
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, source + y * stride, destination + y * stride);
  }
}
