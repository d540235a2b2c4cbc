// Uniform-level templates at 1, 2 and 4 bits and the image-driven 8-bit variant.
#include "template/template_generators.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/raster_geometry.h"
#include "template/diffusion_step.h"
#include "template/level_image_diffusion.h"
#include "template/row_packers.h"

namespace {

// Run the diffusion over height rows into rows outStride apart; amountOfRow(y) returns the
// amount source of row y. Each row is the packed row cleared and packed, of which the first
// min(outStride, packed stride) bytes are written: a narrower row goes through one packed row.
template <class AmountOfRow>
void DiffuseIntoRaster(unsigned char* out, size_t outStride, int width, int height,
                       int bitsPerPixel, PatternRandom& random, AmountOfRow amountOfRow) {
  // The generator draws no random number. The clock seed of the C library's generator is kept
  // because hosts have always found rand() reseeded from the time after a template call; it
  // touches nothing else, and an own generator is left alone.
  random.SeedFromClock();
  if (width <= 0 || height <= 0) return;
  const size_t packedStride = static_cast<size_t>(RowStride(width, bitsPerPixel));
  const bool narrow = outStride < packedStride;
  std::vector<uint8_t> narrowRow(narrow ? packedStride : 0);
  TemplateDiffusion diffusion(width);
  std::vector<uint8_t> dots(static_cast<size_t>(width) + 8);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = narrow ? narrowRow.data() : out + outStride * y;
    std::memset(row, 0, packedStride);
    diffusion.DiffuseRow(y, amountOfRow(y), dots.data());
    PackDotRow(dots.data(), width, bitsPerPixel, row);
    if (narrow) std::memcpy(out + outStride * y, row, outStride);
  }
}

}  // namespace

int LevelIndexOfPercent(int level) {
  return std::min(static_cast<int>(level * 2.55 + 0.5), 255);
}

void GenerateUniformTemplate(unsigned char* out, int width, int height, int32_t amount,
                             int bitsPerPixel, PatternRandom& random) {
  DiffuseIntoRaster(out, static_cast<size_t>(RowStride(width, bitsPerPixel)), width, height,
                    bitsPerPixel, random,
                    [amount](int) { return TemplateDiffusion::UniformAmount{amount}; });
}

void DiffuseLevelImage(const ScreeningState& state, const unsigned char* in, size_t inStride,
                       unsigned char* out, size_t outStride, int width, int height,
                       int bitsPerPixel, bool invertGrey) {
  // The call works on its own copy of the level table.
  const LevelTable table(state, invertGrey);
  DiffuseIntoRaster(out, outStride, width, height, bitsPerPixel, state.random,
                    [&](int y) { return table.AmountsOf(in + inStride * y); });
}

void GetDiffusedImageData_8Bit(const ScreeningState& state, const unsigned char* in,
                               unsigned char* out, int width, int height) {
  const size_t stride = static_cast<size_t>(Stride8(width));
  DiffuseLevelImage(state, in, stride, out, stride, width, height, 8, false);
}

bool GenerateTemplateAtPercent(const ScreeningState& state, unsigned char* out, int width,
                               int height, int level, int bitsPerPixel) {
  if (static_cast<unsigned>(level) > 100u) return false;
  if (!RasterFits(width, height, bitsPerPixel) || !BufferUsable(out, width, height)) return false;
  GenerateTemplateAtStride(state, out, static_cast<size_t>(RowStride(width, bitsPerPixel)), width,
                           height, level, bitsPerPixel);
  return true;
}

void GenerateTemplateAtStride(const ScreeningState& state, unsigned char* out, size_t outStride,
                              int width, int height, int level, int bitsPerPixel) {
  const int32_t amount = state.levelAmount[LevelIndexOfPercent(level)];
  DiffuseIntoRaster(out, outStride, width, height, bitsPerPixel, state.random,
                    [amount](int) { return TemplateDiffusion::UniformAmount{amount}; });
}
