// The dispatcher of the image entry points: maps the template type to a pattern (algorithm
// number) and the dot mode to an enlargement factor, and runs the halftone engine.
#include "image/template_dispatch.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

#include "image/halftone_engine.h"
#include "template/raster_geometry.h"

namespace {

constexpr int kRampAlgorithm = 0;
constexpr int kMidGreyAlgorithm = 3;
constexpr int kExtraRowType = 36;
constexpr int kExtraRowMinHeight = 4;

// How a template type is run: the pattern, whether bars are limited to factor 2, and whether
// the source is screened.
struct TypePlan {
  int algorithm;
  bool barFactorLimit;
  bool copySource;
};

TypePlan PlanOf(int templateType, bool hasSource) {
  switch (templateType) {
    case 0:
      return {kRampAlgorithm, false, false};
    case 1:
      return {1, false, false};  // ramp tile, a tenth of the width
    case 2:
      return {kMidGreyAlgorithm, false, false};
    case 3:
      return {4, false, false};  // ramp tile, a fiftieth of the width
    case 4:
      return {5, true, false};  // bars on a ramp
    case 5:
      return {6, false, false};  // ramp, lines at +5 degrees
    case 6:
      return {7, false, false};  // ramp, lines at -5 degrees
    case 7:
      return {8, false, false};  // tile, lines at +5 degrees
    case 8:
      return {9, true, false};  // wave-shifted bars
    case 9:
      return {10, true, false};  // wave-shifted bars, other phase
    case 34:
      return {kImageAlgorithm, false, true};
    case 38:
      return {15, false, false};  // compensation profile
    case kSmallDotType:
    case kSmallMediumDotType:
    case kSmallMediumLargeDotType:
      return {kImageAlgorithm, false, true};
    case kMatrixType:
      return hasSource ? TypePlan{kImageAlgorithm, false, true}
                       : TypePlan{kRampAlgorithm, false, false};
    default:
      return {kRampAlgorithm, false, false};  // 10..33, 35, 37 and out of range
  }
}

// Type 36: the ramp over one more row than asked for, without its first row.
void RunRampWithoutFirstRow(unsigned char* intermediate, int width, int height, int factor,
                            int cellWidth, int cellHeight) {
  const size_t stride = static_cast<size_t>(RowStride(width, 8));
  const size_t bytes = stride * (static_cast<size_t>(height) + 1);
  std::unique_ptr<unsigned char[]> taller(new unsigned char[bytes]());
  RunHalftoneEngine(taller.get(), height + 1, width, factor, cellWidth, cellHeight, kRampAlgorithm,
                    kExtraRowType);
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

int DispatchTemplateType(const unsigned char* source, unsigned char* intermediate, int width,
                         int height, int templateType, int cellWidth, int cellHeight, int dotMode) {
  const int factor = EnlargementFactorOfDotMode(dotMode);
  if (templateType == kExtraRowType) {
    if (height >= kExtraRowMinHeight)
      RunRampWithoutFirstRow(intermediate, width, height, factor, cellWidth, cellHeight);
    else
      RunHalftoneEngine(intermediate, height, width, factor, cellWidth, cellHeight,
                        kMidGreyAlgorithm, kExtraRowType);
    return 1;
  }
  const TypePlan plan = PlanOf(templateType, source != nullptr);
  if (plan.copySource)
    std::memcpy(intermediate, source, static_cast<size_t>(RowStride(width, 8)) * height);
  const int passedFactor = plan.barFactorLimit ? std::min(factor, 2) : factor;
  RunHalftoneEngine(intermediate, height, width, passedFactor, cellWidth, cellHeight,
                    plan.algorithm, templateType);
  return 1;
}
