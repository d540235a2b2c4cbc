// The image entry points: install the template type's tone curve, screen into an 8-bit
// intermediate raster and pack it to 1 or 2 bits per pixel. The 2-bit entry hands the caller's
// image straight to the dot ditherers for types 39, 40 and 41.
#include <korvel/korvel.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "config/tone_curve.h"
#include "image/dot_ditherers.h"
#include "image/halftone_engine.h"
#include "image/image_packing.h"
#include "image/template_dispatch.h"
#include "template/raster_geometry.h"

namespace {

constexpr unsigned kOneBitSeed = 0;
constexpr unsigned kTwoBitSeed = 2000;
constexpr int kImageType = 34;
// The largest 8-bit working raster of a call: the screened grid is widened by 10 pixels on
// each side, and type 36 screens one extra row.
constexpr int64_t kWorkingMarginColumns = 20;
constexpr int64_t kWorkingMarginRows = 1;

bool TypeReadsSource(int templateType) {
  return templateType == kImageType || templateType == kSmallDotType ||
         templateType == kSmallMediumDotType || templateType == kSmallMediumLargeDotType;
}

// The sizes and buffers every image call needs; anything else is refused before a byte is
// written or any global state changes.
bool ImageCallAccepted(const unsigned char* source, const unsigned char* output, int width,
                       int height, int templateType, int cellWidth, int cellHeight) {
  if (width < 1 || height < 1 || cellWidth < 1 || cellHeight < 1) return false;
  if (output == nullptr) return false;
  if (source == nullptr && TypeReadsSource(templateType)) return false;
  const int64_t largestRaster =
      RowStride(width + kWorkingMarginColumns, 8) * (int64_t{height} + kWorkingMarginRows);
  return largestRaster <= INT_MAX;
}

using Raster = std::unique_ptr<unsigned char[]>;

Raster NewClearedIntermediate(int width, int height) {
  return Raster(new unsigned char[static_cast<size_t>(RowStride(width, 8)) * height]());
}

// Tone curve, screen choice and seed: what both entries do before a dispatched type screens.
void PrepareScreen(int templateType, bool useTemplateDiffusion, unsigned seed) {
  SetupToneCurve(templateType);
  g_useTemplateDiffusion = useTemplateDiffusion;
  // The test patterns draw their random bar heights from the process's rand(). Seeding it here
  // makes equal calls give equal patterns, and the reseeded generator is part of what hosts
  // have always seen after an image call (a host drawing rand() afterwards gets that sequence),
  // so the call stays even for screens that draw nothing.
  std::srand(seed);
}

void ScreenThroughDispatcher(const unsigned char* source, unsigned char* intermediate, int width,
                             int height, int templateType, int cellWidth, int cellHeight,
                             int dotMode, bool useTemplateDiffusion, unsigned seed) {
  PrepareScreen(templateType, useTemplateDiffusion, seed);
  DispatchTemplateType(source, intermediate, width, height, templateType, cellWidth, cellHeight,
                       dotMode);
}

// The 2-bit short path: the caller's image straight through a dot ditherer. Returns false for
// a type that has no short path.
bool ScreenWithDotDitherer(const unsigned char* source, unsigned char* intermediate, int width,
                           int height, int templateType) {
  switch (templateType) {
    case kSmallDotType: {
      C2BitDitherSDot ditherer(0, 2, 1);
      BuildSDotTable();
      ditherer.Dither(intermediate, source, height, width);
      return true;
    }
    case kSmallMediumDotType:
      DitherSMDot(source, intermediate, width, height);
      return true;
    case kSmallMediumLargeDotType:
      DitherSMLDot(source, intermediate, width, height);
      return true;
    default:
      return false;
  }
}

}  // namespace

int KORVEL_GetImageTempateData_1Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  if (!ImageCallAccepted(source, output, width, height, templateType, cellWidth, cellHeight))
    return 0;
  if (templateType == kImageType && !useTemplateDiffusion) {
    // The error-diffused image goes from the caller's rows to the packed output row by row:
    // the 8-bit raster of the whole area would only be copied into and packed out of.
    PrepareScreen(templateType, useTemplateDiffusion, kOneBitSeed);
    return ScreenImageToOneBit(source, output, width, height, EnlargementFactorOfDotMode(dotMode),
                               cellWidth, cellHeight);
  }
  Raster intermediate = NewClearedIntermediate(width, height);
  ScreenThroughDispatcher(source, intermediate.get(), width, height, templateType, cellWidth,
                          cellHeight, dotMode, useTemplateDiffusion, kOneBitSeed);
  PackOneBit(intermediate.get(), width, height, output);
  return 1;
}

int KORVEL_GetImageTempateData_2Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  if (!ImageCallAccepted(source, output, width, height, templateType, cellWidth, cellHeight))
    return 0;
  Raster intermediate = NewClearedIntermediate(width, height);
  if (!ScreenWithDotDitherer(source, intermediate.get(), width, height, templateType)) {
    ScreenThroughDispatcher(source, intermediate.get(), width, height, templateType, cellWidth,
                            cellHeight, dotMode, useTemplateDiffusion, kTwoBitSeed);
    std::memset(output, 0, static_cast<size_t>(RowStride(width, 2)) * height);
  }
  BuildPackTables();
  PackTwoBit(intermediate.get(), width, height, output);
  return 1;
}
