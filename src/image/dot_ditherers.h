// Threshold-matrix screens without error diffusion. The three 2-bit classes map (grey value,
// threshold of the 128 x 128 dot matrix) to a dot level through a 256 x 256 lookup table built
// once per process: small dots only, small and medium, or small, medium and large.
// CDitherBase is a two-level screen against any square int32 matrix of side 257.
//
// Rasters are 8 bits per pixel with rows (width + 3) & ~3 bytes apart. Input: grey levels (255
// white). Output: dot levels 0 (large or only dot), 85 (medium), 170 (small), 255 (none).
#ifndef KORVEL_IMAGE_DOT_DITHERERS_H
#define KORVEL_IMAGE_DOT_DITHERERS_H

#include <cstdint>

#include "image/template_types.h"

constexpr int kDotTableSize = 256 * 256;  // entry v * 256 + t for grey v and threshold t

// Lookup tables and ramps, built by their first user (once per process, safely even when two
// threads are first together) and never freed.
extern uint8_t g_sDotTable[kDotTableSize];
extern int32_t g_smDotRamp[256];
extern uint8_t g_smDotTable[kDotTableSize];
extern int32_t g_smlDotRamp[256];
extern uint8_t g_smlDotTable[kDotTableSize];

// The common body of the three 2-bit screens: each pixel's dot level is looked up in a
// 256 x 256 table at (grey, threshold of the dot matrix).
class C2BitDotDither {
 public:
  virtual ~C2BitDotDither() {}

  // Screen width x height pixels; the first matrix row used is the row phase, which then
  // advances by height. Needs the table to be built.
  void Dither(const unsigned char* source, unsigned char* destination, int width, int height);

 protected:
  C2BitDotDither(uint32_t rowPhase, uint16_t bytesPerPixel, const uint8_t* table)
      : rowPhase_(rowPhase), bytesPerPixel_(bytesPerPixel), table_(table) {}

 private:
  uint32_t rowPhase_;
  uint16_t bytesPerPixel_;
  const uint8_t* table_;
};

// Small dots only: 170 where v < t, else 255. Needs g_sDotTable (BuildSDotTable).
class C2BitDitherSDot : public C2BitDotDither {
 public:
  C2BitDitherSDot(uint32_t rowPhase, uint16_t /*bitsPerPixel, always 2*/, uint16_t bytesPerPixel)
      : C2BitDotDither(rowPhase, bytesPerPixel, g_sDotTable) {}
};

// Build g_sDotTable unless it is built.
void BuildSDotTable();

// Fill g_smDotRamp unless it is filled.
void FillSmDotRamp();

// Small and medium dots: a linear blend of 85 and 170 below levels[1] = 127, of 170 and 255
// above it.
class C2BitDitherSMDot : public C2BitDotDither {
 public:
  C2BitDitherSMDot(uint32_t rowPhase, uint16_t /*bitsPerPixel, always 2*/, uint16_t bytesPerPixel)
      : C2BitDotDither(rowPhase, bytesPerPixel, g_smDotTable) {}

  // Build g_smDotTable from levels and g_smDotRamp unless it is built.
  void BuildTable();

 private:
  uint16_t levels_[4] = {0, 127, 0, 255};  // only levels_[1] is read
};

// Small, medium and large dots: linear blends of 0/85, 85/170 and 170/255 in the bands split
// at levels[1] = 85 and levels[2] = 170.
class C2BitDitherSMLDot : public C2BitDotDither {
 public:
  C2BitDitherSMLDot(uint32_t rowPhase, uint16_t /*bitsPerPixel, always 2*/, uint16_t bytesPerPixel)
      : C2BitDotDither(rowPhase, bytesPerPixel, g_smlDotTable) {}

  // Set the levels to 0, 85, 170, 255 and fill g_smlDotRamp.
  void InitLevels();
  // Build g_smlDotTable from levels and g_smlDotRamp unless it is built.
  void BuildTable();

 private:
  uint16_t levels_[4] = {0, 0, 0, 0};
};

// Two-level screen: a dot (0) where 255 - v >= the threshold, else 255. The matrix is read
// from row (rowOffset + offset + y) mod 257 and column (offset + x) mod 257.
class CDitherBase {
 public:
  CDitherBase(const int32_t* matrix, uint32_t rowOffset, uint32_t offset, uint32_t bytesPerPixel)
      : matrix_(matrix), rowOffset_(rowOffset), offset_(offset), bytesPerPixel_(bytesPerPixel) {}
  virtual ~CDitherBase() {}

  void Dither(const unsigned char* source, unsigned char* destination, int width, int height) const;

 private:
  const int32_t* matrix_;
  uint32_t rowOffset_;
  uint32_t offset_;
  uint32_t bytesPerPixel_;
};

// Screen with a fresh C2BitDitherSMDot / C2BitDitherSMLDot, its table built first.
void DitherSMDot(const unsigned char* source, unsigned char* destination, int width, int height);
void DitherSMLDot(const unsigned char* source, unsigned char* destination, int width, int height);

// The lookup table of a template type with a dot screen of its own (kSmallDotType,
// kSmallMediumDotType, kSmallMediumLargeDotType), built first as that screen builds it; null
// for any other type.
const uint8_t* DotScreenTable(int templateType);

// The rows of a 2-bit dot screen with a given table from matrix row rowPhase on, as Dither
// screens them, without the host's OpenMP setting: a band of rows of one page screened after
// another with the row phase carried on gives the rows of one call.
void ScreenDotRows(const unsigned char* source, unsigned char* destination, int width, int height,
                   uint32_t rowPhase, const uint8_t* table);

#endif
