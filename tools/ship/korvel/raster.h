// The two kinds of picture the tool hands to and takes from the library, in the library's own
// memory layout so that no copy is needed around a call.
#ifndef KORVEL_TOOL_RASTER_H
#define KORVEL_TOOL_RASTER_H

#include <cstddef>
#include <cstdint>
#include <memory>

// An 8-bit grey image: 255 is paper white, 0 full ink; rows padded to a multiple of 4 bytes,
// the padding set to white.
struct GreyImage {
  int width = 0;
  int height = 0;
  size_t stride = 0;
  std::shared_ptr<uint8_t> pixels;  // owned memory, or a file mapping with its own release

  // Rows are left for the reader to fill; call WhitenPadding once they are.
  static GreyImage Allocate(int width, int height);
  // Pixels that already lie in the library's layout elsewhere (a mapped file), kept alive and
  // released by pixels' deleter.
  static GreyImage Adopt(int width, int height, std::shared_ptr<uint8_t> pixels);
  uint8_t* Data() const { return pixels.get(); }
  uint8_t* Row(int y) { return pixels.get() + stride * static_cast<size_t>(y); }
  const uint8_t* Row(int y) const { return pixels.get() + stride * static_cast<size_t>(y); }
  void WhitenPadding();
};

// A screened raster packed at 1, 2 or 4 bits per pixel, rows padded to a multiple of 4 bytes.
// Code 0 is no dot; at 2 bits 1, 2, 3 are the small, medium and large drop; the largest code
// is a full dot. 1- and 2-bit pixels are packed most significant first; at 4 bits an even
// pixel sits in the low nibble and an odd one in the high nibble.
struct DotRaster {
  int width = 0;
  int height = 0;
  int bits = 1;
  size_t stride = 0;
  std::unique_ptr<uint8_t[]> bytes;

  // All bytes zero: no dots.
  static DotRaster Allocate(int width, int height, int bits);
  int MaxCode() const { return (1 << bits) - 1; }
  uint8_t* Row(int y) { return bytes.get() + stride * static_cast<size_t>(y); }
  const uint8_t* Row(int y) const { return bytes.get() + stride * static_cast<size_t>(y); }
  size_t Size() const { return stride * static_cast<size_t>(height); }
};

#endif
