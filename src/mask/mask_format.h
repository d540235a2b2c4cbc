// The stored mask: a header of five little-endian int32 words (tag, planes P, rows H, columns W,
// maximum threshold M) followed by P x H x W int32 raw thresholds, plane by plane and row by
// row, every byte passed through the encode table.
#ifndef KORVEL_MASK_MASK_FORMAT_H
#define KORVEL_MASK_MASK_FORMAT_H

#include <cstdint>

constexpr int kMaskHeaderBytes = 20;
constexpr int64_t kMaxMaskThresholdBytes = int64_t{1} << 30;  // 1 GiB of thresholds

struct MaskHeader {
  int32_t tag;
  int32_t planeCount;
  int32_t maskHeight;
  int32_t maskWidth;
  int32_t maxThreshold;
};

// Little-endian int32 at bytes[0..3].
int32_t ReadLittleEndian32(const uint8_t* bytes);

// Decodes the header of a stored mask of length bytes and checks it: P, H, W and M above 0, a
// threshold block of at most kMaxMaskThresholdBytes, and length exactly 20 + 4 x P x H x W.
// False for a null pointer or a length below the header.
bool ReadMaskHeader(const uint8_t* encoded, int length, const uint8_t decodeTable[256],
                    MaskHeader* header);

// Threshold on the 0..254 screening scale of a raw threshold t: trunc(t / M * 254) in double
// precision for every t, held only to the int32 range. A raw threshold above M gives more than
// 254 (never a dot once above 254); one below 0 gives a negative threshold when t / M * 254 is
// -1 or less, under which even a white pixel is a dot.
int32_t NormaliseThreshold(int32_t raw, int32_t maxThreshold);

#endif
