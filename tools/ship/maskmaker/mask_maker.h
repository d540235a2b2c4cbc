// Stored threshold masks for IDitherMaskGenerator::LoadMask: P planes of blue-noise thresholds
// (void-and-cluster, a different seed per plane), encoded through the library's buffer
// processor exactly as LoadMask expects them.
//
// The raw thresholds are chosen so that, after the library's normalisation to 0..254, each of
// the 255 levels holds the same share of the plane (to one pixel): screening a flat grey v then
// sets (255 - v) / 255 of the pixels. This needs M >= 254; a smaller M has fewer raw values
// than levels, and the levels are then rounded up to the next raw value that reaches them.
//
// Usage:
//   #include "maskmaker/mask_maker.h"   (target korvel_maskmaker, plus korvel or korvel_static)
//   MaskMakerOptions options;  options.planes = 4;  options.width = options.height = 128;
//   std::vector<uint8_t> stored = MakeStoredMask(options);   // empty when refused
#ifndef KORVEL_TOOLS_MASKMAKER_MASK_MAKER_H
#define KORVEL_TOOLS_MASKMAKER_MASK_MAKER_H

#include <cstdint>
#include <string>
#include <vector>

struct MaskMakerOptions {
  int planes = 1;                // P
  int width = 64;                // W, columns per plane
  int height = 64;               // H, rows per plane
  int32_t maxThreshold = 65535;  // M, the raw value that loads as 254
  uint32_t seed = 1;             // plane p uses seed + p
  int32_t tag = 1;               // header word 0, kept by the mask object
  double sigma = 1.5;            // void-and-cluster filter width in pixels
};

// Largest plane (pixels) and largest stored threshold block (bytes) the maker accepts.
constexpr int64_t kMaxMaskMakerPlanePixels = int64_t{1} << 20;
constexpr int64_t kMaxMaskMakerThresholdBytes = int64_t{1} << 30;

// The stored (encoded) mask: 20 + 4 * P * H * W bytes. Empty when P, W, H or M is below 1, a
// plane exceeds kMaxMaskMakerPlanePixels, the thresholds exceed kMaxMaskMakerThresholdBytes,
// sigma is not positive, or no buffer processor can be created.
std::vector<uint8_t> MakeStoredMask(const MaskMakerOptions& options);

// The raw (not yet encoded) thresholds 0..M of one plane, row by row; empty when refused as
// above. MakeStoredMask stores these for plane p with seed + p.
std::vector<int32_t> BlueNoiseRawThresholds(int width, int height, int32_t maxThreshold,
                                            uint32_t seed, double sigma = 1.5);

// MakeStoredMask written to a file. False when refused or the file cannot be written.
bool WriteStoredMask(const MaskMakerOptions& options, const std::string& path);

#endif
