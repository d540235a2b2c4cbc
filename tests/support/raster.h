// Small helpers the tests share: packed-raster pixel access and buffer fingerprints.
#ifndef KORVEL_TESTS_SUPPORT_RASTER_H
#define KORVEL_TESTS_SUPPORT_RASTER_H

#include <cstdint>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<uint8_t>;

inline int Stride(int width, int bits) {
  return ((width * bits + 31) >> 5) * 4;
}

// Value of pixel (x, y) of a packed raster: 1- and 2-bit most significant first, 4-bit with the
// even pixel in the low nibble, 8-bit one byte per pixel.
int PixelAt(const Bytes& raster, int width, int bits, int x, int y);

// Number of pixels inside width x height whose value is not 0.
int64_t CountDots(const Bytes& raster, int width, int height, int bits);

// FNV-1a 64-bit of a buffer, printed in hex, for golden outputs.
std::string Fingerprint(const Bytes& bytes);

// Bytes as "AB CD ..." for readable failure messages.
std::string Hex(const Bytes& bytes);

}  // namespace test

#endif
