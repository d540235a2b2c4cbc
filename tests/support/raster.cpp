#include "support/raster.h"

#include <algorithm>
#include <cstdio>

namespace test {

int PixelAt(const Bytes& raster, int width, int bits, int x, int y) {
  const uint8_t* row = raster.data() + static_cast<size_t>(Stride(width, bits)) * y;
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2:
      return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4:
      return (x & 1) ? row[x >> 1] >> 4 : row[x >> 1] & 0x0F;
    default:
      return row[x];
  }
}

int64_t CountDots(const Bytes& raster, int width, int height, int bits) {
  int64_t n = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) n += PixelAt(raster, width, bits, x, y) != 0;
  return n;
}

Bytes RandomScene(int width, int height, uint32_t seed, bool light) {
  Random random{seed};
  Bytes image(static_cast<size_t>(Stride(width, 8)) * height, 0);
  for (int y = 0; y < height; ++y) {
    int grey = random.Below(256), run = 0;
    for (int x = 0; x < width; ++x) {
      if (run-- <= 0) {
        run = random.Below(40);
        const int kind = random.Below(4);
        grey = kind == 0 && light ? random.Below(3)
               : kind == 1        ? (grey + random.Below(60)) & 255
                                  : random.Below(256);
      }
      image[static_cast<size_t>(y) * Stride(width, 8) + x] = static_cast<uint8_t>(grey);
    }
  }
  return image;
}

Bytes RandomBytes(Random& random, size_t size) {
  Bytes bytes(size);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random.Next() >> 24);
  return bytes;
}

Bytes RandomSceneAtStride(Random& random, int width, int height, size_t stride) {
  const Bytes scene = RandomScene(width, height, random.Next());
  Bytes image = RandomBytes(random, stride * height);
  for (int y = 0; y < height; ++y)
    std::copy_n(&scene[static_cast<size_t>(Stride(width, 8)) * y], width, &image[stride * y]);
  return image;
}

std::string Fingerprint(const Bytes& bytes) {
  uint64_t h = 1469598103934665603ULL;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ULL;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

}  // namespace test
