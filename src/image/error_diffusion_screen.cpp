// The image error-diffusion screen: the row loop over the kernel.
#include "image/error_diffusion_screen.h"

#include <cstddef>

#include "core/raster_geometry.h"
#include "image/error_diffusion_kernel.h"

// The amounts are ten times the grey levels; the kernel reads the grey rows directly.
void RunErrorDiffusionScreen(const ScreeningState& state, const unsigned char* source,
                             unsigned char* destination, int width, int height) {
  if (width < 1 || height < 1) return;
  const size_t stride = static_cast<size_t>(Stride8(width));
  ImageErrorDiffusion diffusion(width, state.toneCurve);
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, source + y * stride, destination + y * stride);
  }
}
