#include "mask/mask_screen.h"

#include <cstring>

namespace {

// Screens one row. The mask column is a running counter wrapped by one subtraction, since the
// step is below the mask width; each output byte is assembled in a register and stored once.
template <int kBits>
void ScreenRow(const uint8_t* source, uint8_t* output, int rowBytes, int width,
               const int32_t* maskRow, int maskWidth, int column, int step) {
  constexpr int kPixelsPerByte = 8 / kBits;
  constexpr unsigned kDot = (1u << kBits) - 1;
  const int fullBytes = width / kPixelsPerByte;
  for (int b = 0; b < fullBytes; ++b) {
    unsigned byte = 0;
    for (int i = 0; i < kPixelsPerByte; ++i) {
      const int ink = 255 - *source++;
      byte = (byte << kBits) | (kDot * static_cast<unsigned>(ink > maskRow[column]));
      column += step;
      if (column >= maskWidth) column -= maskWidth;
    }
    output[b] = static_cast<uint8_t>(byte);
  }
  int written = fullBytes;
  const int leftover = width - fullBytes * kPixelsPerByte;
  if (leftover > 0) {
    unsigned byte = 0;
    for (int i = 0; i < leftover; ++i) {
      const int ink = 255 - *source++;
      byte = (byte << kBits) | (kDot * static_cast<unsigned>(ink > maskRow[column]));
      column += step;
      if (column >= maskWidth) column -= maskWidth;
    }
    output[written++] = static_cast<uint8_t>(byte << (kBits * (kPixelsPerByte - leftover)));
  }
  if (rowBytes > written) std::memset(output + written, 0, rowBytes - written);
}

template <int kBits>
void ScreenRows(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                int width, int height) {
  int row = walk.firstRow;
  for (int y = 0; y < height; ++y) {
    const int32_t* maskRow = walk.plane + static_cast<int64_t>(row) * walk.maskWidth;
    ScreenRow<kBits>(source, output, dstStride, width, maskRow, walk.maskWidth, walk.firstColumn,
                     walk.columnStep);
    source += width;
    output += dstStride;
    row += walk.rowStep;
    if (row >= walk.maskHeight) row -= walk.maskHeight;
  }
}

}  // namespace

void ScreenWithMask1Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height) {
  ScreenRows<1>(walk, source, output, dstStride, width, height);
}

void ScreenWithMask2Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height) {
  ScreenRows<2>(walk, source, output, dstStride, width, height);
}
