// Table-driven packing of dot levels: 0 large, 85 medium, 170 small, 255 no dot.
#include "image/image_packing.h"

#include <cstddef>
#include <cstring>

#include "template/raster_geometry.h"

uint8_t g_twoBitLevel[256];
uint8_t g_twoBitPack[256];
bool g_packTablesReady = false;

void BuildPackTables() {
  if (g_packTablesReady) return;
  for (int v = 0; v < 256; ++v) g_twoBitLevel[v] = static_cast<uint8_t>(v / 85);
  for (int i = 0; i < 256; ++i) {
    // Each two-bit field of the index is one pixel's level; its code is 3 - level.
    g_twoBitPack[i] = static_cast<uint8_t>(i ^ 0xFF);
  }
  g_packTablesReady = true;
}

void PackOneBit(const unsigned char* intermediate, int width, int height, unsigned char* output) {
  const size_t strideIn = static_cast<size_t>(RowStride(width, 8));
  const size_t strideOut = static_cast<size_t>(RowStride(width, 1));
  std::memset(output, 0, strideOut * height);
  const size_t fullBytes = static_cast<size_t>(width) >> 3;
  const int tail = width & 7;
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = intermediate + strideIn * y;
    unsigned char* out = output + strideOut * y;
    for (size_t i = 0; i < fullBytes; ++i, in += 8) {
      unsigned bits = 0;
      for (int j = 0; j < 8; ++j) bits = (bits << 1) | (in[j] < 128);
      out[i] = static_cast<unsigned char>(bits);
    }
    unsigned bits = 0;
    for (int j = 0; j < tail; ++j) bits |= static_cast<unsigned>(in[j] < 128) << (7 - j);
    if (tail) out[fullBytes] = static_cast<unsigned char>(bits);
  }
}

void PackTwoBit(const unsigned char* intermediate, int width, int height, unsigned char* output) {
  if (width <= 0) return;
  const size_t strideIn = static_cast<size_t>(RowStride(width, 8));
  const size_t strideOut = static_cast<size_t>(RowStride(width, 2));
  const size_t groups = (static_cast<size_t>(width) - 1) / 4 + 1;
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = intermediate + strideIn * y;
    unsigned char* out = output + strideOut * y;
    for (size_t k = 0; k < groups; ++k, in += 4) {
      const unsigned index = (g_twoBitLevel[in[0]] << 6) | (g_twoBitLevel[in[1]] << 4) |
                             (g_twoBitLevel[in[2]] << 2) | g_twoBitLevel[in[3]];
      out[k] = g_twoBitPack[index];
    }
  }
}
