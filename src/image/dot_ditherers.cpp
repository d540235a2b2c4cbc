// The screening loops of the dot ditherers: per pixel one lookup-table load (or a compare) and
// one store, the matrix column running along a row pointer and wrapping without a modulo.
#include "image/dot_ditherers.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#define KORVEL_DOT_LOOKUP_SSE2 1
#endif

#include "core/raster_geometry.h"
#include "image/host_openmp.h"
#include "image/threshold_matrices.h"

namespace {

// The dot matrix as bytes (its thresholds are 0..254), so that eight of them load at once.
const uint8_t* DotMatrixBytes() {
  static const std::array<uint8_t, kDotMatrixSide* kDotMatrixSide> bytes = [] {
    std::array<uint8_t, kDotMatrixSide * kDotMatrixSide> b{};
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(g_dotMatrix128[i]);
    return b;
  }();
  return bytes.data();
}

// out[j] = table[in[j] * 256 + thresholds[j]] for j < n. With SSE2 the indices of eight pixels
// are formed by one byte interleave (grey in the high byte, threshold in the low byte) and read
// back as two 64-bit words, leaving one table load and one store per pixel.
inline void LookupSpan(const unsigned char* __restrict in, unsigned char* __restrict out,
                       const uint8_t* thresholds, size_t n, const uint8_t* table) {
  size_t j = 0;
#if KORVEL_DOT_LOOKUP_SSE2
  for (; j + 8 <= n; j += 8) {
    const __m128i grey = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + j));
    const __m128i threshold = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(thresholds + j));
    const __m128i index = _mm_unpacklo_epi8(threshold, grey);
    const uint64_t first = static_cast<uint64_t>(_mm_cvtsi128_si64(index));
    const uint64_t second =
        static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(index, index)));
    for (int k = 0; k < 4; ++k) {
      out[j + k] = table[(first >> (16 * k)) & 0xFFFF];
      out[j + 4 + k] = table[(second >> (16 * k)) & 0xFFFF];
    }
  }
#endif
  for (; j < n; ++j) out[j] = table[(unsigned{in[j]} << 8) | thresholds[j]];
}

// Screen `count` columns from column `start` of every row; column start + k reads matrix column
// k mod 128 of matrix row (rowPhase + y) mod 128.
void ScreenDotColumns(const unsigned char* source, unsigned char* destination, size_t stride,
                      int height, size_t start, size_t count, uint32_t rowPhase,
                      const uint8_t* table) {
  const uint8_t* matrix = DotMatrixBytes();
  for (int y = 0; y < height; ++y) {
    const uint32_t matrixRow = (rowPhase + static_cast<uint32_t>(y)) & (kDotMatrixSide - 1);
    const uint8_t* thresholds = matrix + matrixRow * kDotMatrixSide;
    const unsigned char* in = source + stride * y + start;
    unsigned char* out = destination + stride * y + start;
    for (size_t tile = 0; tile < count; tile += kDotMatrixSide)
      LookupSpan(in + tile, out + tile, thresholds, std::min<size_t>(kDotMatrixSide, count - tile),
                 table);
  }
}

// The common body of the 2-bit screens: every row is no dot (255) outside the screened
// pixels; the two column halves are screened each from matrix column 0. Only the row padding
// is filled beforehand, since the halves overwrite every other byte.
void ScreenTwoHalves(const unsigned char* source, unsigned char* destination, int width, int height,
                     size_t stride, uint32_t rowPhase, const uint8_t* table) {
  const size_t pixels = static_cast<size_t>(width);
  for (int y = 0; y < height; ++y)
    std::memset(destination + stride * y + pixels, 255, stride - pixels);
  const size_t firstHalf = static_cast<size_t>(width) >> 1;
  const size_t secondHalf = static_cast<size_t>(width) - firstHalf;
  ScreenDotColumns(source, destination, stride, height, 0, firstHalf, rowPhase, table);
  ScreenDotColumns(source, destination, stride, height, firstHalf, secondHalf, rowPhase, table);
}

size_t RowBytes(int width, uint32_t bytesPerPixel) {
  return static_cast<size_t>(RowStride(width, 8)) * bytesPerPixel;
}

// Threshold `count` pixels of a row against one matrix row from column `column` on, the
// column wrapping at the side of the matrix: a dot where 255 - v >= threshold.
void ThresholdSpan(const unsigned char* __restrict in, unsigned char* __restrict out, size_t count,
                   const int32_t* matrixRow, uint32_t column) {
  constexpr uint32_t kSide = kThresholdMatrixSide;
  size_t done = 0;
  while (done < count) {
    const size_t n = std::min<size_t>(kSide - column, count - done);
    const int32_t* thresholds = matrixRow + column;
    for (size_t j = 0; j < n; ++j) out[done + j] = (255 - in[done + j]) >= thresholds[j] ? 0 : 255;
    done += n;
    column = 0;
  }
}

}  // namespace

void C2BitDotDither::Dither(const unsigned char* source, unsigned char* destination, int width,
                            int height) {
  if (height <= 0 || width <= 0) return;
  SetHostOpenMpThreads(2);  // the host-visible setting these screens have always made
  ScreenTwoHalves(source, destination, width, height, RowBytes(width, bytesPerPixel_), rowPhase_,
                  table_);
  rowPhase_ += static_cast<uint32_t>(height);
}

void ScreenDotRows(const unsigned char* source, unsigned char* destination, int width, int height,
                   uint32_t rowPhase, const uint8_t* table) {
  if (height <= 0 || width <= 0) return;
  ScreenTwoHalves(source, destination, width, height, RowBytes(width, 1), rowPhase, table);
}

void CDitherBase::Dither(const unsigned char* source, unsigned char* destination, int width,
                         int height) const {
  if (width <= 0 || height <= 0) return;
  constexpr uint32_t kSide = kThresholdMatrixSide;
  const size_t stride = RowBytes(width, bytesPerPixel_);
  const size_t count = static_cast<size_t>(width);
  // The column is (offset + x) taken in 32 bits: past x = 2^32 - offset the sum wraps to 0.
  const uint64_t wrapAt = (uint64_t{1} << 32) - offset_;
  const size_t beforeWrap = static_cast<size_t>(std::min<uint64_t>(count, wrapAt));
  for (int y = 0; y < height; ++y) {
    const uint32_t row = (rowOffset_ + offset_ + static_cast<uint32_t>(y)) % kSide;
    const int32_t* matrixRow = matrix_ + static_cast<size_t>(row) * kSide;
    const unsigned char* in = source + stride * y;
    unsigned char* out = destination + stride * y;
    ThresholdSpan(in, out, beforeWrap, matrixRow, offset_ % kSide);
    if (beforeWrap < count)
      ThresholdSpan(in + beforeWrap, out + beforeWrap, count - beforeWrap, matrixRow, 0);
  }
}

void DitherSMDot(const unsigned char* source, unsigned char* destination, int width, int height) {
  C2BitDitherSMDot ditherer(0, 2, 1);
  FillSmDotRamp();
  ditherer.BuildTable();
  ditherer.Dither(source, destination, width, height);
}

void DitherSMLDot(const unsigned char* source, unsigned char* destination, int width, int height) {
  C2BitDitherSMLDot ditherer(0, 2, 1);
  ditherer.InitLevels();
  ditherer.BuildTable();
  ditherer.Dither(source, destination, width, height);
}

const uint8_t* DotScreenTable(int templateType) {
  switch (templateType) {
    case kSmallDotType:
      BuildSDotTable();
      return g_sDotTable;
    case kSmallMediumDotType: {
      C2BitDitherSMDot ditherer(0, 2, 1);
      FillSmDotRamp();
      ditherer.BuildTable();
      return g_smDotTable;
    }
    case kSmallMediumLargeDotType: {
      C2BitDitherSMLDot ditherer(0, 2, 1);
      ditherer.InitLevels();
      ditherer.BuildTable();
      return g_smlDotTable;
    }
    default:
      return nullptr;
  }
}
