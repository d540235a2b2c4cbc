// The constant threshold matrices of the dot ditherers: blue-noise (void-and-cluster) arrays
// produced by tools/make/matrix_gen.
#ifndef KORVEL_IMAGE_THRESHOLD_MATRICES_H
#define KORVEL_IMAGE_THRESHOLD_MATRICES_H

#include <cstdint>

constexpr int kDotMatrixSide = 128;        // tile of the 2-bit dot screens
constexpr int kThresholdMatrixSide = 257;  // tile of the two-level matrix screen

// Thresholds 0..254, row-major: value 0 and 63 others occur 65 times, the other 191 values 64.
extern const int32_t g_dotMatrix128[kDotMatrixSide * kDotMatrixSide];

// Thresholds 1..255, row-major: 1, 85, 170 and 255 occur 260 times, every other value 259.
extern const int32_t g_thresholdMatrix257[kThresholdMatrixSide * kThresholdMatrixSide];

#endif
