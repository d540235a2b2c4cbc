#include "mask/dither_mask_generator.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "interface/globals.h"
#include "mask/buffer_proc.h"
#include "mask/mask_format.h"
#include "mask/mask_screen.h"

namespace {

// The stored thresholds are decoded through a bounded scratch block rather than a copy of the
// whole mask, which may be up to 1 GiB.
constexpr int kDecodeBlockBytes = 64 * 1024;

void DecodeThresholds(const uint8_t* encoded, int64_t count, int32_t maxThreshold,
                      CBufferProc& proc, int32_t* thresholds) {
  uint8_t block[kDecodeBlockBytes];
  int64_t done = 0;
  while (done < count) {
    const int64_t entries = std::min<int64_t>(count - done, kDecodeBlockBytes / 4);
    const size_t bytes = static_cast<size_t>(entries) * 4;
    std::memcpy(block, encoded + done * 4, bytes);
    proc.Decode(block, static_cast<unsigned int>(bytes));
    for (int64_t i = 0; i < entries; ++i) {
      thresholds[done + i] = NormaliseThreshold(ReadLittleEndian32(block + 4 * i), maxThreshold);
    }
    done += entries;
  }
}

// Value modulo n in 0..n-1 for any sign of value.
int Reduce(int value, int n) {
  const int rest = value % n;
  return rest < 0 ? rest + n : rest;
}

// Bytes that width pixels take at 1 or 2 bits per pixel.
int64_t RowBytes(int width, int bitsPerPixel) {
  return (static_cast<int64_t>(width) * bitsPerPixel + 7) / 8;
}

}  // namespace

bool CDitherMaskGenerator::LoadMask(const unsigned char* mask, int length) {
  CBufferProc proc;
  MaskHeader header;
  if (!ReadMaskHeader(mask, length, proc.decodeTable, &header)) return false;

  const int64_t count =
      static_cast<int64_t>(header.planeCount) * header.maskHeight * header.maskWidth;
  std::unique_ptr<int32_t[]> loaded(new int32_t[count]);
  DecodeThresholds(mask + kMaskHeaderBytes, count, header.maxThreshold, proc, loaded.get());

  ResetLevelAmount();
  tag = header.tag;
  planeCount = header.planeCount;
  maskHeight = header.maskHeight;
  maskWidth = header.maskWidth;
  maxThreshold = header.maxThreshold;
  anyNegative = std::any_of(loaded.get(), loaded.get() + count, [](int32_t t) { return t < 0; });
  thresholds = std::move(loaded);
  return true;
}

bool CDitherMaskGenerator::Dither(const unsigned char* source, unsigned char* output, int dstStride,
                                  int width, int height, int plane, int xOffset, int yOffset,
                                  int xStep, int yStep, int bits) {
  const int bitsPerPixel = bits == 1 ? 1 : 2;
  if (!thresholds || source == nullptr || output == nullptr) return false;
  if (plane < 0 || plane >= planeCount || width < 0 || height < 0) return false;
  if (xStep < 0 || yStep < 0 || dstStride < RowBytes(width, bitsPerPixel)) return false;

  const MaskWalk walk{thresholds.get() + static_cast<int64_t>(plane) * maskHeight * maskWidth,
                      maskWidth,
                      maskHeight,
                      Reduce(xOffset, maskWidth),
                      Reduce(yOffset, maskHeight),
                      xStep % maskWidth,
                      yStep % maskHeight,
                      anyNegative};
  if (bitsPerPixel == 1) {
    ScreenWithMask1Bit(walk, source, output, dstStride, width, height);
  } else {
    ScreenWithMask2Bit(walk, source, output, dstStride, width, height);
  }
  return true;
}

bool CDitherMaskGenerator::ReleaseMask() {
  thresholds.reset();
  return true;
}
