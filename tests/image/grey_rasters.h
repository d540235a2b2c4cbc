// 8-bit test rasters shared by the image tests.
#ifndef KORVEL_TESTS_IMAGE_GREY_RASTERS_H
#define KORVEL_TESTS_IMAGE_GREY_RASTERS_H

#include <cstdint>
#include <set>

#include "support/raster.h"

namespace test {

inline int Stride8(int width) {
  return Stride(width, 8);
}

// width x height pixels from pixel(x, y); the row padding holds `padding`.
template <class Pixel>
Bytes GreyRaster(int width, int height, Pixel pixel, uint8_t padding = 0x5A) {
  Bytes raster(static_cast<size_t>(Stride8(width)) * height, padding);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) raster[y * Stride8(width) + x] = pixel(x, y);
  return raster;
}

inline Bytes FlatGrey(int width, int height, uint8_t grey) {
  return GreyRaster(width, height, [grey](int, int) { return grey; });
}

// Every grey level across a row, shifted from row to row.
inline Bytes GreyRamp(int width, int height) {
  return GreyRaster(width, height, [width](int x, int y) {
    return static_cast<uint8_t>((x * 255 / (width > 1 ? width - 1 : 1) + y * 37) & 0xFF);
  });
}

inline Bytes Noise(int width, int height, uint32_t seed) {
  return GreyRaster(width, height, [&seed](int, int) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<uint8_t>(seed >> 24);
  });
}

// The distinct values of pixels inside the width (bits 8) or of packed fields (1, 2).
inline std::set<int> ValuesInside(const Bytes& raster, int bits, int width, int height) {
  std::set<int> values;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) values.insert(PixelAt(raster, width, bits, x, y));
  return values;
}

}  // namespace test

#endif
