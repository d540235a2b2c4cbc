// Writers of one diffused row (one byte per pixel, 1 for a dot) into a packed raster row.
#ifndef KORVEL_TEMPLATE_ROW_PACKERS_H
#define KORVEL_TEMPLATE_ROW_PACKERS_H

#include <cstdint>
#include <cstring>

// Pack eight 0/1 bytes into one byte, the first pixel in the most significant bit.
inline uint8_t PackEightDots(const uint8_t* dots) {
  uint64_t v;
  std::memcpy(&v, dots, 8);
  // Each byte holds 0 or 1 in its low bit; the multiply gathers byte i's bit into bit 7 - i of
  // the top byte (little-endian load: byte 0 is the least significant).
  return static_cast<uint8_t>((v * 0x8040201008040201ULL) >> 56);
}

// Write the dots of a row of `width` pixels into `row` at bitsPerPixel; a dot fills its pixel.
// The bytes past the last pixel are left as they are (the caller cleared them).
inline void PackDotRow(const uint8_t* dots, int width, int bitsPerPixel, uint8_t* row) {
  switch (bitsPerPixel) {
    case 1: {
      int x = 0;
      for (; x + 8 <= width; x += 8) row[x >> 3] = PackEightDots(dots + x);
      uint8_t tail = 0;
      for (int j = 0; x + j < width; ++j) tail |= static_cast<uint8_t>(dots[x + j] << (7 - j));
      if (x < width) row[x >> 3] = tail;
      break;
    }
    case 2:
      for (int x = 0; x < width; x += 4) {
        uint8_t b = 0;
        for (int j = 0; j < 4 && x + j < width; ++j)
          b |= static_cast<uint8_t>((dots[x + j] * 3) << (6 - 2 * j));
        row[x >> 2] = b;
      }
      break;
    case 4:
      // The even pixel of a pair sits in the low nibble.
      for (int x = 0; x < width; x += 2) {
        uint8_t b = static_cast<uint8_t>(dots[x] * 0x0F);
        if (x + 1 < width) b |= static_cast<uint8_t>(dots[x + 1] * 0xF0);
        row[x >> 1] = b;
      }
      break;
    default:
      for (int x = 0; x < width; ++x) row[x] = static_cast<uint8_t>(dots[x] * 255);
      break;
  }
}

#endif
