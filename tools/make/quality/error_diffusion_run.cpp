#include "error_diffusion_run.h"

#include <vector>

namespace quality {

GreyImage ScreenErrorDiffusion(const GreyImage& image, const ErrorDiffusionTables& tables,
                               ImageErrorDiffusion::Restarts restarts) {
  static const std::vector<int32_t> identity = [] {
    std::vector<int32_t> curve(kImgTargetCount);
    for (int i = 0; i < kImgTargetCount; ++i) curve[i] = i;
    return curve;
  }();
  GreyImage out(image.width, image.height);
  ImageErrorDiffusion diffusion(image.width, identity.data(), tables, restarts);
  for (int y = 0; y < image.height; ++y) {
    const size_t row = static_cast<size_t>(y) * image.width;
    diffusion.DiffuseRow(y, image.pixels.data() + row, out.pixels.data() + row);
  }
  return out;
}

}  // namespace quality
