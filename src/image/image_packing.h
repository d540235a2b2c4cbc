// Packing of a screened 8-bit raster of dot levels into the 1-bit and 2-bit outputs.
#ifndef KORVEL_IMAGE_IMAGE_PACKING_H
#define KORVEL_IMAGE_IMAGE_PACKING_H

#include <cstddef>
#include <cstdint>

// 2-bit packing tables, built at the first 2-bit call and kept: the level v / 85 of a dot level
// and the byte of four levels a, b, c, d (index a << 6 | b << 4 | c << 2 | d), each stored as
// the code 3 - level, the left-most pixel in the two most significant bits.
extern uint8_t g_twoBitLevel[256];
extern uint8_t g_twoBitPack[256];

// Build g_twoBitLevel and g_twoBitPack unless they are built (once per process, thread-safely).
void BuildPackTables();

// Clear the 1-bit output (stride ((width + 31) >> 3) & ~3) and set a bit for every pixel
// inside the width whose level is below 128 (large and medium dots).
void PackOneBit(const unsigned char* intermediate, int width, int height, unsigned char* output);

// One row of the same: every byte of the output row's stride is written, a bit set for each
// of the width levels below 128, the positions past the width 0.
void PackOneBitRow(const unsigned char* levels, int width, unsigned char* output);

// Write bytes 0..(width - 1) >> 2 of every 2-bit output row (stride ((2 * width + 31) >> 3)
// & ~3) from whole groups of four intermediate pixels, the row padding of the 8-bit raster
// included; the rest of each output row is not written. Needs the packing tables.
void PackTwoBit(const unsigned char* intermediate, int width, int height, unsigned char* output);

// One row of the same: bytes 0..(width - 1) >> 2 from the levels of whole groups of four.
void PackTwoBitRow(const unsigned char* levels, int width, unsigned char* output);

// The screened raster of a whole page packed into an output whose rows are outputStride apart
// (at least the bytes of width pixels at the depth): every row is packed as the page call packs
// it (1 bit: PackOneBitRow; 2 bits: the packed row cleared, then PackTwoBitRow) and its first
// min(outputStride, packed stride) bytes are written; bytes after them stay as they were.
// Needs the packing tables at 2 bits.
void PackPageAtStride(const unsigned char* intermediate, int width, int height, int bitsPerPixel,
                      unsigned char* output, size_t outputStride);

#endif
