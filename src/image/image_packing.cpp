// Table-driven packing of dot levels: 0 large, 85 medium, 170 small, 255 no dot.
#include "image/image_packing.h"

#include <cstddef>
#include <cstring>
#include <mutex>
#include <vector>

#include "core/raster_geometry.h"

uint8_t g_twoBitLevel[256];
uint8_t g_twoBitPack[256];

void BuildPackTables() {
  // Filled once per process, also when two threads make their first 2-bit call together.
  static std::once_flag built;
  std::call_once(built, [] {
    for (int v = 0; v < 256; ++v) g_twoBitLevel[v] = static_cast<uint8_t>(v / 85);
    for (int i = 0; i < 256; ++i) {
      // Each two-bit field of the index is one pixel's level; its code is 3 - level.
      g_twoBitPack[i] = static_cast<uint8_t>(i ^ 0xFF);
    }
  });
}

namespace {

// Eight dot levels, left-most first, to one byte with the left-most in the most significant
// bit: a level below 128 (its top bit clear) is a dot. The top bits are moved to bit 0 of each
// byte and gathered into the top byte by one multiply; every partial product lands on a bit
// of its own, so nothing carries into the gathered byte.
unsigned char PackEightLevels(const unsigned char* levels) {
  uint64_t word;
  std::memcpy(&word, levels, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);  // the left-most level in the low byte
#endif
  const uint64_t dots = (~word & 0x8080808080808080u) >> 7;  // pixel j in bit 8j
  return static_cast<unsigned char>((dots * 0x8040201008040201u) >> 56);
}

}  // namespace

void PackOneBitRow(const unsigned char* levels, int width, unsigned char* output) {
  const size_t strideOut = static_cast<size_t>(RowStride(width, 1));
  const size_t fullBytes = static_cast<size_t>(width) >> 3;
  for (size_t i = 0; i < fullBytes; ++i) output[i] = PackEightLevels(levels + 8 * i);
  size_t written = fullBytes;
  if (const int tail = width & 7) {
    const unsigned char* in = levels + 8 * fullBytes;
    unsigned bits = 0;
    for (int j = 0; j < tail; ++j) bits |= static_cast<unsigned>(in[j] < 128) << (7 - j);
    output[written++] = static_cast<unsigned char>(bits);
  }
  std::memset(output + written, 0, strideOut - written);
}

void PackOneBit(const unsigned char* intermediate, int width, int height, unsigned char* output) {
  const size_t strideIn = static_cast<size_t>(RowStride(width, 8));
  const size_t strideOut = static_cast<size_t>(RowStride(width, 1));
  for (int y = 0; y < height; ++y)
    PackOneBitRow(intermediate + strideIn * y, width, output + strideOut * y);
}

void PackTwoBitRow(const unsigned char* levels, int width, unsigned char* output) {
  if (width <= 0) return;
  const size_t groups = (static_cast<size_t>(width) - 1) / 4 + 1;
  for (size_t k = 0; k < groups; ++k, levels += 4) {
    const unsigned index = (g_twoBitLevel[levels[0]] << 6) | (g_twoBitLevel[levels[1]] << 4) |
                           (g_twoBitLevel[levels[2]] << 2) | g_twoBitLevel[levels[3]];
    output[k] = g_twoBitPack[index];
  }
}

void PackTwoBit(const unsigned char* intermediate, int width, int height, unsigned char* output) {
  const size_t strideIn = static_cast<size_t>(RowStride(width, 8));
  const size_t strideOut = static_cast<size_t>(RowStride(width, 2));
  for (int y = 0; y < height; ++y)
    PackTwoBitRow(intermediate + strideIn * y, width, output + strideOut * y);
}

namespace {

// One row as the page call packs it, the whole packed row written.
void PackPageRow(const unsigned char* levels, int width, int bitsPerPixel, size_t packedStride,
                 unsigned char* output) {
  if (bitsPerPixel == 1) {
    PackOneBitRow(levels, width, output);
    return;
  }
  std::memset(output, 0, packedStride);
  PackTwoBitRow(levels, width, output);
}

}  // namespace

void PackPageAtStride(const unsigned char* intermediate, int width, int height, int bitsPerPixel,
                      unsigned char* output, size_t outputStride) {
  const size_t strideIn = static_cast<size_t>(RowStride(width, 8));
  const size_t packedStride = static_cast<size_t>(RowStride(width, bitsPerPixel));
  if (outputStride >= packedStride) {
    for (int y = 0; y < height; ++y)
      PackPageRow(intermediate + strideIn * y, width, bitsPerPixel, packedStride,
                  output + outputStride * y);
    return;
  }
  // A narrower output takes the first outputStride bytes of each packed row.
  std::vector<unsigned char> row(packedStride);
  for (int y = 0; y < height; ++y) {
    PackPageRow(intermediate + strideIn * y, width, bitsPerPixel, packedStride, row.data());
    std::memcpy(output + outputStride * y, row.data(), outputStride);
  }
}
