// Shared pieces of the context tests: an owning context handle and grey test images.
#ifndef KORVEL_TESTS_CONTEXT_CONTEXT_SUPPORT_H
#define KORVEL_TESTS_CONTEXT_CONTEXT_SUPPORT_H

#include <korvel/korvel_context.h>

#include <cstdint>
#include <memory>

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

// A grey ramp with a seeded ripple, at the packed 8-bit stride.
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

}  // namespace test

#endif
