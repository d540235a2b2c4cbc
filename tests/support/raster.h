// Small helpers the tests share: packed-raster pixel access, seeded pseudo-random rasters and
// buffer fingerprints.
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

// A deterministic generator for random inputs (a 32-bit linear congruential sequence).
struct Random {
  uint32_t state;
  uint32_t Next() { return state = state * 1664525u + 1013904223u; }
  int Below(int n) { return static_cast<int>((Next() >> 8) % static_cast<uint32_t>(n)); }
};

// A stride that holds a row of width pixels at `bits`: the bytes of the pixels only, the packed
// stride, or more.
inline size_t SomeStride(Random& random, int width, int bits) {
  const size_t bytes = (static_cast<size_t>(width) * bits + 7) / 8;
  const size_t packed = static_cast<size_t>(Stride(width, bits));
  const size_t choices[] = {bytes, packed, packed, packed + 1 + random.Below(6)};
  return choices[random.Below(4)];
}

// An 8-bit raster (stride Stride(width, 8)) of runs of random greys: flat stretches, jumps of
// every size and, where `light` is set, runs near white, so that every rule of the screens acts.
Bytes RandomScene(int width, int height, uint32_t seed, bool light = true);

// `size` random bytes.
Bytes RandomBytes(Random& random, size_t size);

// A random scene with rows `stride` bytes apart and random bytes past each row's pixels.
Bytes RandomSceneAtStride(Random& random, int width, int height, size_t stride);

// FNV-1a 64-bit of a buffer, printed in hex, for golden outputs.
std::string Fingerprint(const Bytes& bytes);

}  // namespace test

#endif
