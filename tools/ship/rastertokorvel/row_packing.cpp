#include "row_packing.h"

#include <array>
#include <cstring>

namespace {

constexpr int kChunkedInks = 4;

// For a byte of packed dot codes at `bits` bits, the four output bytes (as a big-endian word)
// of its pixels in a chunked line of four inks, with this byte's codes in the first ink's
// place of every pixel: at 1 bit 8 pixels of 4 bits, at 2 bits 4 pixels of 8 bits.
using SpreadTable = std::array<uint32_t, 256>;

SpreadTable MakeSpreadTable(int bits) {
  SpreadTable table{};
  const int pixels = 8 / bits;
  const uint32_t codeMask = (1u << bits) - 1;
  const int slotBits = kChunkedInks * bits;
  for (uint32_t value = 0; value < 256; ++value) {
    uint32_t word = 0;
    for (int pixel = 0; pixel < pixels; ++pixel) {
      const uint32_t code = (value >> (8 - (pixel + 1) * bits)) & codeMask;
      word |= code << (32 - pixel * slotBits - bits);
    }
    table[value] = word;
  }
  return table;
}

const SpreadTable& SpreadTableFor(int bits) {
  static const SpreadTable oneBit = MakeSpreadTable(1), twoBits = MakeSpreadTable(2);
  return bits == 1 ? oneBit : twoBits;
}

void StoreBigEndian(uint32_t word, uint8_t* out) {
  out[0] = static_cast<uint8_t>(word >> 24);
  out[1] = static_cast<uint8_t>(word >> 16);
  out[2] = static_cast<uint8_t>(word >> 8);
  out[3] = static_cast<uint8_t>(word);
}

void InterleaveFourInks(const PageFormat& format, const uint8_t* const* dots, uint8_t* line) {
  const SpreadTable& spread = SpreadTableFor(format.outputBits);
  const int bits = format.outputBits;
  const size_t bytes = format.InkRowBytes();
  for (size_t i = 0; i < bytes; ++i) {
    const uint32_t word = spread[dots[0][i]] | spread[dots[1][i]] >> bits |
                          spread[dots[2][i]] >> (2 * bits) | spread[dots[3][i]] >> (3 * bits);
    StoreBigEndian(word, line + 4 * i);
  }
}

// W and SW: the highest code is white, so every code c is written as highest - c, which for
// codes of all-one bits is the complement; the bits past the width stay clear.
void CopyInPolarity(const PageFormat& format, const uint8_t* dots, uint8_t* line) {
  const size_t bytes = format.InkRowBytes();
  if (!format.additive) {
    std::memcpy(line, dots, bytes);
    return;
  }
  for (size_t i = 0; i < bytes; ++i) line[i] = static_cast<uint8_t>(~dots[i]);
  ClearPastWidth(format, line);
}

// Every step-th sample from `samples` as grey; ink amounts are inverted. The step is a constant
// so that the compiler turns the loop into vector shuffles.
template <int kStep>
void ExtractSamples(const uint8_t* samples, int width, bool additive, uint8_t* grey) {
  if (additive) {
    for (int x = 0; x < width; ++x) grey[x] = samples[static_cast<size_t>(x) * kStep];
  } else {
    for (int x = 0; x < width; ++x)
      grey[x] = static_cast<uint8_t>(~samples[static_cast<size_t>(x) * kStep]);
  }
}

}  // namespace

void ExtractInk(const PageFormat& format, const uint8_t* line, int ink, uint8_t* grey) {
  const int width = format.width;
  if (format.order == CUPS_ORDER_CHUNKED && format.InkCount() == kChunkedInks) {
    ExtractSamples<kChunkedInks>(line + ink, width, format.additive, grey);
    return;
  }
  // Chunked lines of one ink, banded lines and planar lines hold an ink's samples side by side.
  const size_t offset = format.order == CUPS_ORDER_BANDED ? static_cast<size_t>(ink) * width : 0;
  ExtractSamples<1>(line + offset, width, format.additive, grey);
}

void ClearPastWidth(const PageFormat& format, uint8_t* dots) {
  const int usedBits = (format.width * format.outputBits) & 7;
  if (usedBits) dots[format.InkRowBytes() - 1] &= static_cast<uint8_t>(0xFF << (8 - usedBits));
}

size_t OutputLineCapacity(const PageFormat& format) {
  return format.InkRowBytes() * format.InkCount();
}

void PackLine(const PageFormat& format, const uint8_t* const* dots, uint8_t* line) {
  if (format.order == CUPS_ORDER_CHUNKED && format.InkCount() == kChunkedInks) {
    InterleaveFourInks(format, dots, line);
    return;
  }
  // Banded lines (and chunked lines of one ink) are the ink rows one after the other.
  for (int ink = 0; ink < format.InkCount(); ++ink)
    CopyInPolarity(format, dots[ink], line + format.InkRowBytes() * ink);
}

void PackPlane(const PageFormat& format, const uint8_t* dots, uint8_t* line) {
  CopyInPolarity(format, dots, line);
}
