// Row strides of packed rasters and the size checks every entry point makes before it writes.
#ifndef KORVEL_CORE_RASTER_GEOMETRY_H
#define KORVEL_CORE_RASTER_GEOMETRY_H

#include <climits>
#include <cstdint>

// Bytes per row of a packed raster: bits per row rounded up to a multiple of 32.
inline int64_t RowStride(int64_t width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) >> 5) * 4;
}

// Stride of an 8-bit raster of an int width (the width rounded up to a multiple of 4).
inline int Stride8(int width) {
  return static_cast<int>(RowStride(width, 8));
}

// True when a width x height raster of this depth is a size the library accepts: both
// dimensions non-negative and stride * height within INT_MAX bytes.
inline bool RasterFits(int width, int height, int bitsPerPixel) {
  if (width < 0 || height < 0) return false;
  return RowStride(width, bitsPerPixel) * height <= INT_MAX;
}

// True when a buffer of a raster that fits may be used: present, or not needed at all.
inline bool BufferUsable(const void* buffer, int width, int height) {
  return buffer != nullptr || width == 0 || height == 0;
}

#endif
