// The screen works on 16 pixels at a time: their mask thresholds sit side by side in a byte row
// prepared per call (the thresholds one mask row yields under the column walk), so a chunk is
// one comparison of 16 byte pairs whose outcome is packed through small tables.
//
// The column walk (firstColumn + x * columnStep) mod W repeats after period = W / gcd(step, W)
// pixels, so the prepared row holds min(period, width) + 16 thresholds and a chunk starting at
// pixel x reads them from x mod period on, a counter advanced by 16 mod period per chunk.
#include "mask/mask_screen.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kChunk = 16;                    // pixels screened at once
constexpr int64_t kCachedRowBytes = 1 << 20;  // prepared rows kept for reuse within a call

// Packing of dot bits (bit i = pixel i) into output bytes, most significant pixel first.
struct PackTables {
  std::array<uint8_t, 256> oneBit;                 // 8 pixels -> 1 byte
  std::array<std::array<uint8_t, 2>, 256> twoBit;  // 8 pixels -> 2 bytes, a dot is 11
};

constexpr PackTables MakePackTables() {
  PackTables tables{};
  for (int bits = 0; bits < 256; ++bits) {
    for (int i = 0; i < 8; ++i) {
      if (!((bits >> i) & 1)) continue;
      tables.oneBit[bits] |= static_cast<uint8_t>(0x80 >> i);
      tables.twoBit[bits][i / 4] |= static_cast<uint8_t>(0xC0 >> (2 * (i % 4)));
    }
  }
  return tables;
}

constexpr PackTables kPack = MakePackTables();

// Dots of 16 pixels: bit i is set where 255 - source[i] > thresholds[i].
inline unsigned DotsOfChunk(const uint8_t* source, const uint8_t* thresholds) {
#if defined(__SSE2__)
  const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
  const __m128i limits = _mm_loadu_si128(reinterpret_cast<const __m128i*>(thresholds));
  const __m128i ink = _mm_xor_si128(pixels, _mm_set1_epi8(-1));
  const __m128i excess = _mm_subs_epu8(ink, limits);  // non-zero exactly where ink > threshold
  const __m128i none = _mm_cmpeq_epi8(excess, _mm_setzero_si128());
  return ~static_cast<unsigned>(_mm_movemask_epi8(none)) & 0xFFFFu;
#else
  unsigned dots = 0;
  for (int i = 0; i < kChunk; ++i) {
    dots |= static_cast<unsigned>(255 - source[i] > thresholds[i]) << i;
  }
  return dots;
#endif
}

template <int kBits>
struct Packer;

template <>
struct Packer<1> {
  static constexpr int kChunkBytes = 2;
  static void Store(unsigned dots, uint8_t* out) {
    out[0] = kPack.oneBit[dots & 0xFF];
    out[1] = kPack.oneBit[dots >> 8];
  }
};

template <>
struct Packer<2> {
  static constexpr int kChunkBytes = 4;
  static void Store(unsigned dots, uint8_t* out) {
    const auto& low = kPack.twoBit[dots & 0xFF];
    const auto& high = kPack.twoBit[dots >> 8];
    out[0] = low[0];
    out[1] = low[1];
    out[2] = high[0];
    out[3] = high[1];
  }
};

// A threshold of 0 or more as a byte that screens the same.
inline uint8_t AsByte(int32_t threshold) {
  return static_cast<uint8_t>(std::min<int32_t>(threshold, 255));
}

// The thresholds of the mask rows under the column walk, prepared on first use. When all mask
// rows fit the budget each keeps its own slot; otherwise one slot is rebuilt as the row changes.
class PreparedRows {
 public:
  PreparedRows(const MaskWalk& walk, int width) : walk_(walk) {
    period_ = walk.maskWidth / std::gcd(walk.columnStep, walk.maskWidth);
    length_ = std::min(period_, width) + kChunk;
    const bool cacheAll = static_cast<int64_t>(walk.maskHeight) * length_ <= kCachedRowBytes;
    slots_ = cacheAll ? walk.maskHeight : 1;
    storage_.resize(static_cast<size_t>(slots_) * length_);
    builtRow_.assign(slots_, -1);
  }

  int period() const { return period_; }

  const uint8_t* Row(int row) {
    const int slot = slots_ == 1 ? 0 : row;
    uint8_t* prepared = storage_.data() + static_cast<size_t>(slot) * length_;
    if (builtRow_[slot] != row) {
      Build(row, prepared);
      builtRow_[slot] = row;
    }
    return prepared;
  }

 private:
  // Thresholds of 0 or more screen the same as they do held to 0..255, so each is kept in a
  // byte (the walk holds no negative one). The walk is copied in runs that end at the mask's
  // right edge, so each run is a plain strided copy.
  void Build(int row, uint8_t* prepared) const {
    const int32_t* maskRow = walk_.plane + static_cast<int64_t>(row) * walk_.maskWidth;
    const int step = walk_.columnStep;
    int column = walk_.firstColumn;
    if (step == 0) {
      std::memset(prepared, AsByte(maskRow[column]), length_);
      return;
    }
    for (int j = 0; j < length_;) {
      const int run = std::min(length_ - j, (walk_.maskWidth - column + step - 1) / step);
      for (int i = 0; i < run; ++i) prepared[j + i] = AsByte(maskRow[column + i * step]);
      j += run;
      column += run * step - walk_.maskWidth;
    }
  }

  const MaskWalk& walk_;
  int period_;
  int length_;
  int slots_;
  std::vector<uint8_t> storage_;
  std::vector<int> builtRow_;
};

template <int kBits>
void ScreenRow(const uint8_t* source, uint8_t* output, int rowBytes, int width,
               const uint8_t* thresholds, int period, int advance) {
  using Pack = Packer<kBits>;
  int position = 0;  // x mod period
  int x = 0;
  uint8_t* out = output;
  for (; x + kChunk <= width; x += kChunk) {
    Pack::Store(DotsOfChunk(source + x, thresholds + position), out);
    out += Pack::kChunkBytes;
    position += advance;
    if (position >= period) position -= period;
  }
  const int leftover = width - x;
  if (leftover > 0) {
    // The source ends with the row: the last pixels are screened one by one.
    unsigned dots = 0;
    for (int i = 0; i < leftover; ++i) {
      dots |= static_cast<unsigned>(255 - source[x + i] > thresholds[position + i]) << i;
    }
    uint8_t packed[Pack::kChunkBytes];
    Pack::Store(dots, packed);
    const int bytes = (leftover * kBits + 7) / 8;
    std::memcpy(out, packed, bytes);
    out += bytes;
  }
  const int written = static_cast<int>(out - output);
  if (rowBytes > written) std::memset(out, 0, rowBytes - written);
}

template <int kBits>
void ScreenRows(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                int width, int height) {
  PreparedRows rows(walk, width);
  const int period = rows.period();
  const int advance = kChunk % period;
  int row = walk.firstRow;
  for (int y = 0; y < height; ++y) {
    ScreenRow<kBits>(source, output, dstStride, width, rows.Row(row), period, advance);
    source += width;
    output += dstStride;
    row += walk.rowStep;
    if (row >= walk.maskHeight) row -= walk.maskHeight;
  }
}

// The same screen one pixel at a time on the thresholds as they are, for a plane holding
// negative thresholds (which no byte can carry beside 0..255).
template <int kBits>
void ScreenRowsPixelByPixel(const MaskWalk& walk, const uint8_t* source, uint8_t* output,
                            int dstStride, int width, int height) {
  constexpr int kPerByte = 8 / kBits;
  constexpr unsigned kDot = (1u << kBits) - 1;
  int row = walk.firstRow;
  for (int y = 0; y < height; ++y) {
    const int32_t* maskRow = walk.plane + static_cast<int64_t>(row) * walk.maskWidth;
    std::memset(output, 0, dstStride);
    int column = walk.firstColumn;
    for (int x = 0; x < width; ++x) {
      if (255 - source[x] > maskRow[column]) {
        output[x / kPerByte] |= static_cast<uint8_t>(kDot << (8 - kBits * (x % kPerByte + 1)));
      }
      column += walk.columnStep;
      if (column >= walk.maskWidth) column -= walk.maskWidth;
    }
    source += width;
    output += dstStride;
    row += walk.rowStep;
    if (row >= walk.maskHeight) row -= walk.maskHeight;
  }
}

}  // namespace

void ScreenWithMask1Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height) {
  if (walk.anyNegative) {
    ScreenRowsPixelByPixel<1>(walk, source, output, dstStride, width, height);
  } else {
    ScreenRows<1>(walk, source, output, dstStride, width, height);
  }
}

void ScreenWithMask2Bit(const MaskWalk& walk, const uint8_t* source, uint8_t* output, int dstStride,
                        int width, int height) {
  if (walk.anyNegative) {
    ScreenRowsPixelByPixel<2>(walk, source, output, dstStride, width, height);
  } else {
    ScreenRows<2>(walk, source, output, dstStride, width, height);
  }
}
