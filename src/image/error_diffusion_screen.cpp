// Placeholder screen (a plain threshold), replaced as the error-diffusion screen lands.
#include "image/error_diffusion_screen.h"

#include <cstddef>
#include <vector>

void DiffuseAmountGrid(unsigned char* destination, const uint16_t* amounts, int width,
                       int height) {
  const int stride = (width + 3) & ~3;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      destination[y * stride + x] = amounts[y * width + x] < 1275 ? 0 : 255;
}

void RunErrorDiffusionScreen(unsigned char* source, unsigned char* destination, int width,
                             int height) {
  const int stride = (width + 3) & ~3;
  std::vector<uint16_t> amounts(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) amounts[y * width + x] = 10 * source[y * stride + x];
  DiffuseAmountGrid(destination, amounts.data(), width, height);
}
