#include "floyd_steinberg.h"

namespace quality {

GreyImage FloydSteinbergSerpentine(const GreyImage& image) {
  GreyImage out(image.width, image.height, 255);
  FloydSteinbergSerpentine(image.pixels.data(), static_cast<size_t>(image.width), image.width,
                           image.height, 1.0, [&out](int x, int y) { out.At(x, y) = 0; });
  return out;
}

}  // namespace quality
