// Writing a PNG row by row through libpng, for the tools that write pictures: grey at 1, 2, 4
// or 8 bits, or 8-bit RGB.
#ifndef KORVEL_TOOLS_COMMON_PNG_ROWS_H
#define KORVEL_TOOLS_COMMON_PNG_ROWS_H

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

struct PngLayout {
  int width;
  int height;
  int bitDepth;  // 1, 2, 4 or 8; 8 with colour
  bool colour;   // RGB instead of grey
};

// The bytes of one row as the PNG holds it (packed grey, most significant pixel first, or RGB).
size_t PngRowBytes(const PngLayout& layout);

// Write the PNG to an open stream; fillRow(y, row) fills row y (PngRowBytes bytes) just before
// it is written. False, with libpng's message in *error, when libpng fails; throws
// std::bad_alloc when libpng cannot start.
bool WritePngRows(std::FILE* stream, const PngLayout& layout,
                  const std::function<void(int y, uint8_t* row)>& fillRow, std::string* error);

#endif
