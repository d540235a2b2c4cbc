// Shared pieces of the context tests: an owning context handle, grey test images and a
// parameter file with a curve and a compensation profile.
#ifndef KORVEL_TESTS_CONTEXT_CONTEXT_SUPPORT_H
#define KORVEL_TESTS_CONTEXT_CONTEXT_SUPPORT_H

#include <korvel/korvel_context.h>

#include <cstdint>
#include <memory>
#include <string>

#include "support/raster.h"

namespace test {

struct DestroyContext {
  void operator()(korvel_context* context) const { korvel_context_destroy(context); }
};
using Context = std::unique_ptr<korvel_context, DestroyContext>;

inline Context NewContext(int quality) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  korvel_set_quality(context, quality);
  return Context(context);
}

// A smooth grey image with a seeded ripple, at the packed 8-bit stride.
inline Bytes GreyImage(int width, int height, uint32_t seed) {
  Bytes image(static_cast<size_t>(Stride(width, 8)) * height, 255);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      image[static_cast<size_t>(Stride(width, 8)) * y + x] =
          static_cast<uint8_t>((x * 255 / width + y + (seed >> 29)) & 0xFF);
    }
  return image;
}

// Curve points in percent that a parameter file and an own curve share.
constexpr int kCurve[] = {0, 22, 47, 81, 100};

inline std::string CurveFile() {
  std::string text = "[QNT_CURVE]\nEffectiveParams=5\n";
  for (int k = 0; k < 5; ++k)
    text += "Param" + std::to_string(k + 1) + "=" + std::to_string(kCurve[k]) + "\n";
  return text +
         "[QNT_COMPENSATION]\nParam0=5\nParam1=20\nParam2=35\nParam3=50\n"
         "Param4=65\nParam5=80\nParam6=95\n";
}

}  // namespace test

#endif
