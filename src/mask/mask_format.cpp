#include "mask/mask_format.h"

#include <cmath>
#include <cstdint>

int32_t ReadLittleEndian32(const uint8_t* bytes) {
  const uint32_t word = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                        static_cast<uint32_t>(bytes[2]) << 16 |
                        static_cast<uint32_t>(bytes[3]) << 24;
  return static_cast<int32_t>(word);
}

bool ReadMaskHeader(const uint8_t* encoded, int length, const uint8_t decodeTable[256],
                    MaskHeader* header) {
  if (encoded == nullptr || length < kMaskHeaderBytes) return false;
  uint8_t bytes[kMaskHeaderBytes];
  for (int i = 0; i < kMaskHeaderBytes; ++i) bytes[i] = decodeTable[encoded[i]];
  MaskHeader h;
  h.tag = ReadLittleEndian32(bytes);
  h.planeCount = ReadLittleEndian32(bytes + 4);
  h.maskHeight = ReadLittleEndian32(bytes + 8);
  h.maskWidth = ReadLittleEndian32(bytes + 12);
  h.maxThreshold = ReadLittleEndian32(bytes + 16);
  if (h.planeCount <= 0 || h.maskHeight <= 0 || h.maskWidth <= 0 || h.maxThreshold <= 0) {
    return false;
  }
  // Each factor is below 2^31, so the products are checked against the limit step by step.
  const int64_t maxEntries = kMaxMaskThresholdBytes / 4;
  const int64_t planeEntries = static_cast<int64_t>(h.maskHeight) * h.maskWidth;
  if (planeEntries > maxEntries || planeEntries * h.planeCount > maxEntries) return false;
  if (kMaskHeaderBytes + 4 * planeEntries * h.planeCount != length) return false;
  *header = h;
  return true;
}

int32_t NormaliseThreshold(int32_t raw, int32_t maxThreshold) {
  const double scaled = std::trunc(static_cast<double>(raw) / maxThreshold * 254);
  if (scaled < INT32_MIN) return INT32_MIN;
  if (scaled > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(scaled);
}
