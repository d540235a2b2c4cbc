// The textbook serpentine Floyd-Steinberg error diffusion the screens are compared against, in
// quality and in speed: weights 7/16 ahead, 3/16, 5/16 and 1/16 on the next row, a dot below
// mid grey, errors leaving the image dropped.
#ifndef KORVEL_TOOLS_QUALITY_FLOYD_STEINBERG_H
#define KORVEL_TOOLS_QUALITY_FLOYD_STEINBERG_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "quality_metrics.h"

namespace quality {

// Diffuse width x height grey pixels (rows `stride` bytes apart, 255 white) with the errors in
// the arithmetic type Value, one grey level being `unit` (int with a unit of 16 keeps errors in
// 1/16 steps, each share truncated; double with a unit of 1 is exact); calls dot(x, y) for every
// pixel that gets a dot.
template <class Value, class Dot>
void FloydSteinbergSerpentine(const uint8_t* grey, size_t stride, int width, int height, Value unit,
                              Dot dot) {
  const Value white = 255 * unit;
  const Value midGrey = white / 2;
  // Column x lives at index x + 1; the guards take what falls off either side.
  std::vector<Value> current(static_cast<size_t>(width) + 2, 0), next(current.size(), 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = grey + stride * y;
    const int dir = (y & 1) == 0 ? 1 : -1;
    for (int i = 0; i < width; ++i) {
      const int x = dir > 0 ? i : width - 1 - i;
      const Value value = row[x] * unit + current[x + 1];
      const bool isDot = value < midGrey;
      if (isDot) dot(x, y);
      const Value error = value - (isDot ? 0 : white);
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error * 1 / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
  }
}

// A two-level halftone (0 dot, 255 none) of the image, errors in floating point.
GreyImage FloydSteinbergSerpentine(const GreyImage& image);

// The speed baseline: an 8-bit image (rows (width + 3) & ~3 bytes apart) to a packed 1-bit
// raster (rows ((width + 31) >> 5) * 4 bytes apart, a set bit for a dot, most significant bit
// first), errors in integer 1/16 steps.
inline void FloydSteinberg1Bit(const uint8_t* image, int width, int height, uint8_t* out) {
  const size_t inStride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  const size_t outStride = ((static_cast<size_t>(width) + 31) >> 5) * 4;
  std::fill(out, out + outStride * height, 0);
  FloydSteinbergSerpentine(image, inStride, width, height, 16, [=](int x, int y) {
    out[outStride * y + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
  });
}

}  // namespace quality

#endif
