// Screening of an 8-bit image against one plane of a threshold mask: a pixel p becomes a dot
// where 255 - p is greater than the threshold under it. The mask tiles the image; its column
// and row advance by fixed steps per pixel and per row and wrap at the mask's edges.
#ifndef KORVEL_MASK_MASK_SCREEN_H
#define KORVEL_MASK_MASK_SCREEN_H

#include <cstdint>

// Where the mask starts and how it advances, everything already reduced into the mask.
struct MaskWalk {
  const int32_t* plane;  // maskHeight x maskWidth thresholds
  int maskWidth;
  int maskHeight;
  int firstColumn;   // 0..maskWidth-1
  int firstRow;      // 0..maskHeight-1
  int columnStep;    // 0..maskWidth-1
  int rowStep;       // 0..maskHeight-1
  bool anyNegative;  // some threshold of the plane is below 0 (a dot even under white)
};

// Screens height rows of width pixels (source rows packed without gaps) into output rows of
// dstStride bytes, 1 or 2 bits per pixel, most significant first; a dot is 1 or 11. Every byte
// of the dstStride x height output is written: the bytes past the last pixel of a row are 0.
// dstStride must hold width pixels. Scratch memory: at most about 1 MiB plus a row.
void ScreenWithMask1Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height);
void ScreenWithMask2Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height);

#endif
