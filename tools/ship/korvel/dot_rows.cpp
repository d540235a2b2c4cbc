#include "dot_rows.h"

#include <cstring>

namespace {

void ClearBitsPastWidth(int width, int bits, uint8_t* out) {
  const int usedBits = (width * bits) & 7;
  if (usedBits)
    out[PackedRowBytes(width, bits) - 1] &= static_cast<uint8_t>(0xFF << (8 - usedBits));
}

}  // namespace

size_t PackedRowBytes(int width, int bits) {
  return (static_cast<size_t>(width) * bits + 7) / 8;
}

void InkRow(const DotRaster& raster, int y, uint8_t* out) {
  const uint8_t* row = raster.Row(y);
  const size_t bytes = PackedRowBytes(raster.width, raster.bits);
  if (raster.bits == 4) {
    // The library keeps an even pixel in the low nibble; files want it first, in the high one.
    for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>((row[i] << 4) | (row[i] >> 4));
  } else {
    std::memcpy(out, row, bytes);
  }
  ClearBitsPastWidth(raster.width, raster.bits, out);
}

void GreyRow(const DotRaster& raster, int y, uint8_t* out) {
  // Grey = largest code - code, which for all-ones codes is the complement of every field.
  InkRow(raster, y, out);
  const size_t bytes = PackedRowBytes(raster.width, raster.bits);
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(~out[i]);
  ClearBitsPastWidth(raster.width, raster.bits, out);
}
