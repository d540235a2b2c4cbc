// Uniform-level templates at 1, 2 and 4 bits and the image-driven 8-bit variant.
#include "template/template_generators.h"

#include <korvel/korvel.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

#include "interface/globals.h"
#include "template/diffusion_step.h"
#include "template/raster_geometry.h"
#include "template/row_packers.h"

namespace {

// Run the diffusion over height rows; amountOfRow(y) returns the amount source of row y.
template <class AmountOfRow>
void DiffuseIntoRaster(unsigned char* out, int width, int height, int bitsPerPixel,
                       AmountOfRow amountOfRow) {
  const size_t stride = static_cast<size_t>(RowStride(width, bitsPerPixel));
  if (stride * static_cast<size_t>(height) != 0) std::memset(out, 0, stride * height);
  // The generator draws no random number. The clock seed is kept because hosts have always
  // found rand() reseeded from the time after a template call; it touches nothing else.
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  if (width == 0 || height == 0) return;
  TemplateDiffusion diffusion(width);
  std::vector<uint8_t> dots(static_cast<size_t>(width) + 8);
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, amountOfRow(y), dots.data());
    PackDotRow(dots.data(), width, bitsPerPixel, out + stride * y);
  }
}

int TemplateExport(unsigned char* out, int width, int height, int level, int bitsPerPixel) {
  if (static_cast<unsigned>(level) > 100u) return 0;
  if (!RasterFits(width, height, bitsPerPixel) || !BufferUsable(out, width, height)) return 0;
  GenerateUniformTemplate(out, width, height, g_levelAmount[LevelIndexOfPercent(level)],
                          bitsPerPixel);
  return 1;
}

}  // namespace

int LevelIndexOfPercent(int level) {
  return std::min(static_cast<int>(level * 2.55 + 0.5), 255);
}

void GenerateUniformTemplate(unsigned char* out, int width, int height, int32_t amount,
                             int bitsPerPixel) {
  DiffuseIntoRaster(out, width, height, bitsPerPixel,
                    [amount](int) { return TemplateDiffusion::UniformAmount{amount}; });
}

void DiffuseLevelImage(unsigned char* out, const unsigned char* in, int width, int height,
                       int bitsPerPixel, bool invertGrey) {
  // The call works on its own copy of the level table: read once, and known to stay within
  // the full scale or not.
  int32_t table[kLevelCount];
  bool leavesFullScale = false;
  for (int i = 0; i < kLevelCount; ++i) {
    table[i] = g_levelAmount[i];
    leavesFullScale |= table[i] < 0 || table[i] > kFullAmount;
  }
  const size_t stride = static_cast<size_t>(Stride8(width));
  const int flip = invertGrey ? 255 : 0;
  DiffuseIntoRaster(out, width, height, bitsPerPixel, [&](int y) {
    return TemplateDiffusion::ImageRowAmount{in + stride * y, table, flip, leavesFullScale};
  });
}

int GetDiffusedImageData_8Bit(unsigned char* out, unsigned char* in, int width, int height) {
  DiffuseLevelImage(out, in, width, height, 8, false);
  return 1;
}

int KORVEL_GetTempateData_1Bit(unsigned char* out, int width, int height, int level) {
  return TemplateExport(out, width, height, level, 1);
}

int KORVEL_GetTempateData_2Bit(unsigned char* out, int width, int height, int level) {
  return TemplateExport(out, width, height, level, 2);
}

int KORVEL_GetTempateData_4Bit(unsigned char* out, int width, int height, int level) {
  return TemplateExport(out, width, height, level, 4);
}
