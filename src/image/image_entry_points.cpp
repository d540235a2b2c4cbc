// The image calls: install the template type's tone curve, screen the caller's image row by row
// straight into the host's output rows, or a test pattern into an 8-bit intermediate raster that
// is packed to 1 or 2 bits per pixel into them. The 2-bit call hands the caller's image straight to
// the dot ditherers for types 39, 40 and 41.
#include "image/image_entry_points.h"

#include <climits>
#include <cstdint>
#include <memory>

#include "config/tone_curve.h"
#include "core/raster_geometry.h"
#include "image/dot_ditherers.h"
#include "image/image_packing.h"
#include "image/strided_rows.h"
#include "image/template_dispatch.h"
#include "image/template_types.h"

namespace {

constexpr unsigned kOneBitSeed = 0;
constexpr unsigned kTwoBitSeed = 2000;
// The largest 8-bit working raster of a call: the screened grid is widened by 10 pixels on
// each side, and type 36 screens one extra row.
constexpr int64_t kWorkingMarginColumns = 20;
constexpr int64_t kWorkingMarginRows = 1;

using Raster = std::unique_ptr<unsigned char[]>;

Raster NewClearedIntermediate(int width, int height) {
  return Raster(new unsigned char[static_cast<size_t>(RowStride(width, 8)) * height]());
}

// Tone curve, screen choice and seed: what both entries do before a dispatched type screens.
void PrepareScreen(ScreeningState& state, int templateType, bool useTemplateDiffusion,
                   unsigned seed) {
  SetupToneCurve(state, templateType);
  state.useTemplateDiffusion = useTemplateDiffusion;
  // The test patterns draw their random bar heights from the state's generator. Seeding it
  // here makes equal calls give equal patterns. The process-wide state's generator is the C
  // library's rand(), and the reseeded rand() is part of what hosts have always seen after an
  // image call (a host drawing rand() afterwards gets that sequence), so the seed stays even
  // for screens that draw nothing.
  state.random.Seed(seed);
}

// A test pattern screened into the intermediate raster. Every type that reads the source
// streams, so the dispatcher is given none.
void ScreenPatternThroughDispatcher(ScreeningState& state, unsigned char* intermediate, int width,
                                    int height, int templateType, int cellWidth, int cellHeight,
                                    int dotMode, bool useTemplateDiffusion, unsigned seed) {
  PrepareScreen(state, templateType, useTemplateDiffusion, seed);
  DispatchTemplateType(state, nullptr, intermediate, width, height, templateType, cellWidth,
                       cellHeight, dotMode);
}

}  // namespace

bool ImageCallAccepted(const unsigned char* source, const unsigned char* output, int width,
                       int height, int templateType, int cellWidth, int cellHeight) {
  if (!ImageSizeAccepted(width, height, cellWidth, cellHeight)) return false;
  if (output == nullptr) return false;
  return source != nullptr || !ImageTypeReadsSource(templateType);
}

bool ImageTypeReadsSource(int templateType) {
  return templateType == kImageType || templateType == kSmallDotType ||
         templateType == kSmallMediumDotType || templateType == kSmallMediumLargeDotType;
}

bool ImageSizeAccepted(int width, int height, int cellWidth, int cellHeight) {
  if (width < 1 || height < 1 || cellWidth < 1 || cellHeight < 1) return false;
  const int64_t largestRaster =
      RowStride(width + kWorkingMarginColumns, 8) * (int64_t{height} + kWorkingMarginRows);
  return largestRaster <= INT_MAX;
}

bool ImageCallStreams(int bitsPerPixel, int templateType) {
  return (bitsPerPixel == 1 || bitsPerPixel == 2) &&
         (ImageTypeReadsSource(templateType) || templateType == kMatrixType);
}

std::unique_ptr<ImageRowStream> BeginImageStream(ScreeningState& state, int bitsPerPixel, int width,
                                                 int height, int templateType, int cellWidth,
                                                 int cellHeight, int dotMode,
                                                 bool useTemplateDiffusion) {
  // The 2-bit call's short path prepares nothing.
  if (bitsPerPixel == 2 && DotScreenTable(templateType) != nullptr)
    return ImageRowStream::DotScreenOnImage(templateType, width, height);
  // The stream reads the tone curve or level table when it is made: install the type's first.
  PrepareScreen(state, templateType, useTemplateDiffusion,
                bitsPerPixel == 1 ? kOneBitSeed : kTwoBitSeed);
  return std::make_unique<ImageRowStream>(state, templateType, bitsPerPixel, width, height,
                                          EnlargementFactorOfDotMode(dotMode), cellWidth,
                                          cellHeight);
}

void ScreenImage(ScreeningState& state, int bitsPerPixel, const unsigned char* source,
                 size_t sourceStride, unsigned char* output, size_t outputStride, int width,
                 int height, int templateType, int cellWidth, int cellHeight, int dotMode,
                 bool useTemplateDiffusion) {
  if (source != nullptr && ImageCallStreams(bitsPerPixel, templateType)) {
    // The caller's image goes from its rows to the output rows one row at a time: the 8-bit
    // raster of the whole area would only be copied into and packed out of.
    const std::unique_ptr<ImageRowStream> stream =
        BeginImageStream(state, bitsPerPixel, width, height, templateType, cellWidth, cellHeight,
                         dotMode, useTemplateDiffusion);
    StridedRows(width, bitsPerPixel)
        .ScreenBand(*stream, source, sourceStride, output, outputStride, height);
    return;
  }
  Raster intermediate = NewClearedIntermediate(width, height);
  ScreenPatternThroughDispatcher(state, intermediate.get(), width, height, templateType, cellWidth,
                                 cellHeight, dotMode, useTemplateDiffusion,
                                 bitsPerPixel == 1 ? kOneBitSeed : kTwoBitSeed);
  if (bitsPerPixel == 2) BuildPackTables();
  PackPageAtStride(intermediate.get(), width, height, bitsPerPixel, output, outputStride);
}
