// The threshold-mask object: holds P planes of H x W normalised thresholds (0..254 for raw
// thresholds 0..M) and
// screens 8-bit images against one plane at a time.
#ifndef KORVEL_MASK_DITHER_MASK_GENERATOR_H
#define KORVEL_MASK_DITHER_MASK_GENERATOR_H

#include <korvel/korvel.h>

#include <cstdint>
#include <memory>

class CDitherMaskGenerator final : public IDitherMaskGenerator {
 public:
  bool LoadMask(const unsigned char* mask, int length) override;
  bool Dither(const unsigned char* source, unsigned char* output, int dstStride, int width,
              int height, int plane, int xOffset, int yOffset, int xStep, int yStep,
              int bits) override;
  bool ReleaseMask() override;

  int32_t tag = 1;                        // header word 0 of the last mask, kept as it came
  int32_t planeCount = 1;                 // P
  int32_t maskHeight = 0;                 // H
  int32_t maskWidth = 0;                  // W
  int32_t maxThreshold = 0;               // raw threshold M that maps to 254
  std::unique_ptr<int32_t[]> thresholds;  // P x H x W normalised thresholds, or null
  bool anyNegative = false;               // some held threshold is below 0
};

#endif
