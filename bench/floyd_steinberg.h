// The baseline every speed figure is measured against: a textbook serpentine Floyd-Steinberg
// error diffusion of an 8-bit image to a packed 1-bit raster, integer errors in 1/16 steps.
#ifndef KORVEL_BENCH_FLOYD_STEINBERG_H
#define KORVEL_BENCH_FLOYD_STEINBERG_H

#include <cstdint>
#include <vector>

inline void FloydSteinberg1Bit(const uint8_t* image, int width, int height, uint8_t* out) {
  const int inStride = (width + 3) & ~3;
  const int outStride = ((width + 31) >> 5) * 4;
  std::vector<int> current(width + 2, 0), next(width + 2, 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = image + static_cast<size_t>(inStride) * y;
    uint8_t* dst = out + static_cast<size_t>(outStride) * y;
    for (int i = 0; i < outStride; ++i) dst[i] = 0;
    const bool leftToRight = (y & 1) == 0;
    const int dir = leftToRight ? 1 : -1;
    for (int i = 0; i < width; ++i) {
      const int x = leftToRight ? i : width - 1 - i;
      // Ink = 255 - grey; a dot removes 255 of ink.
      const int value = (255 - row[x]) * 16 + current[x + 1];
      int error = value;
      if (value >= 128 * 16) {
        dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        error = value - 255 * 16;
      }
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error * 1 / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
  }
}

#endif
