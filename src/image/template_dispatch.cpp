// The dispatcher of the image entry points: maps the template type to a pattern (algorithm
// number) and the dot mode to an enlargement factor, and runs the halftone engine.
#include "image/template_dispatch.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

#include "core/raster_geometry.h"
#include "image/halftone_engine.h"
#include "image/template_types.h"
#include "patterns/compensation.h"

namespace {

constexpr int kExtraRowMinHeight = 4;

// How a template type is run: the pattern, whether bars are limited to factor 2, and whether
// the source is screened.
struct TypePlan {
  TestPattern pattern;
  bool barFactorLimit;
  bool copySource;
};

TypePlan PlanOf(int templateType, bool hasSource) {
  switch (templateType) {
    case 0:
      return {kVerticalRamp, false, false};
    case 1:
      return {kWideRampTiles, false, false};
    case 2:
      return {kMidGreyFill, false, false};
    case 3:
      return {kNarrowRampTiles, false, false};
    case 4:
      return {kBarsOnRamp, true, false};
    case 5:
      return {kRampRisingLines, false, false};
    case 6:
      return {kRampFallingLines, false, false};
    case 7:
      return {kTilesRisingLines, false, false};
    case 8:
      return {kBarsMinusWave, true, false};
    case 9:
      return {kBarsPlusWave, true, false};
    case kImageType:
      return {kCallerImage, false, true};
    case 38:
      return {kCompensationProfile, false, false};
    case kSmallDotType:
    case kSmallMediumDotType:
    case kSmallMediumLargeDotType:
      return {kCallerImage, false, true};
    case kMatrixType:
      return hasSource ? TypePlan{kCallerImage, false, true}
                       : TypePlan{kVerticalRamp, false, false};
    default:
      return {kVerticalRamp, false, false};  // 10..33, 35, 37 and out of range
  }
}

// Type 36: the ramp over one more row than asked for, without its first row.
void RunRampWithoutFirstRow(const ScreeningState& state, unsigned char* intermediate, int width,
                            int height, int factor, int cellWidth, int cellHeight) {
  const size_t stride = static_cast<size_t>(RowStride(width, 8));
  const size_t bytes = stride * (static_cast<size_t>(height) + 1);
  std::unique_ptr<unsigned char[]> taller(new unsigned char[bytes]());
  RunHalftoneEngine(state, taller.get(), width, height + 1, factor, cellWidth, cellHeight,
                    kVerticalRamp, kExtraRowType);
  std::memcpy(intermediate, taller.get() + stride, stride * height);
}

}  // namespace

int EnlargementFactorOfDotMode(int dotMode) {
  switch (dotMode) {
    case 1:
      return 2;
    case 2:
      return 4;
    case 3:
      return 8;
    default:
      return 1;
  }
}

void DispatchTemplateType(const ScreeningState& state, const unsigned char* source,
                          unsigned char* intermediate, int width, int height, int templateType,
                          int cellWidth, int cellHeight, int dotMode) {
  const int factor = EnlargementFactorOfDotMode(dotMode);
  if (templateType == kExtraRowType) {
    if (height >= kExtraRowMinHeight)
      RunRampWithoutFirstRow(state, intermediate, width, height, factor, cellWidth, cellHeight);
    else
      RunHalftoneEngine(state, intermediate, width, height, factor, cellWidth, cellHeight,
                        kMidGreyFill, kExtraRowType);
    return;
  }
  const TypePlan plan = PlanOf(templateType, source != nullptr);
  if (plan.copySource)
    std::memcpy(intermediate, source, static_cast<size_t>(RowStride(width, 8)) * height);
  const int passedFactor = plan.barFactorLimit ? std::min(factor, 2) : factor;
  RunHalftoneEngine(state, intermediate, width, height, passedFactor, cellWidth, cellHeight,
                    plan.pattern, templateType);
}
