#include "sheet_canvas.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "bitmap_font.h"
#include "png_rows.h"

namespace quality {

SheetCanvas::SheetCanvas(int width, int height, Colour background)
    : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3) {
  FillRect(0, 0, width, height, background);
}

void SheetCanvas::Plot(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* pixel = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  pixel[0] = colour.r;
  pixel[1] = colour.g;
  pixel[2] = colour.b;
}

void SheetCanvas::FillRect(int x, int y, int width, int height, Colour colour) {
  for (int row = std::max(y, 0); row < std::min(y + height, height_); ++row)
    for (int column = std::max(x, 0); column < std::min(x + width, width_); ++column)
      Plot(column, row, colour);
}

void SheetCanvas::DrawGrey(const GreyImage& image, int x, int y, int zoom) {
  for (int row = 0; row < image.height; ++row)
    for (int column = 0; column < image.width; ++column) {
      const uint8_t grey = image.At(column, row);
      FillRect(x + column * zoom, y + row * zoom, zoom, zoom, {grey, grey, grey});
    }
}

void SheetCanvas::Line(double x0, double y0, double x1, double y1, Colour colour, int thickness) {
  const double length = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0));
  const int steps = std::max(1, static_cast<int>(std::ceil(length)));
  const int before = (thickness - 1) / 2;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const int x = static_cast<int>(std::lround(x0 + (x1 - x0) * t));
    const int y = static_cast<int>(std::lround(y0 + (y1 - y0) * t));
    FillRect(x - before, y - before, thickness, thickness, colour);
  }
}

int SheetCanvas::TextWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale;
}

int SheetCanvas::Text(int x, int y, const std::string& text, Colour colour, int scale) {
  int left = x;
  for (const char c : text) {
    const uint8_t* rows = GlyphRows(c);
    if (rows == nullptr)
      throw std::invalid_argument(std::string("the sheet's font has no character '") + c + "'");
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int column = 0; column < kGlyphWidth; ++column)
        if (rows[row] >> (kGlyphWidth - 1 - column) & 1)
          FillRect(left + column * scale, y + row * scale, scale, scale, colour);
    left += (kGlyphWidth + 1) * scale;
  }
  return left - x;
}

bool SheetCanvas::WritePng(const std::string& path, std::string* error) const {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(width_) * 3;
  const bool written = WritePngRows(
      file, {width_, height_, 8, true},
      [&](int y, uint8_t* row) { std::memcpy(row, &rgb_[rowBytes * y], rowBytes); }, error);
  const bool closed = std::fclose(file) == 0;
  if (written && !closed) *error = std::strerror(errno);
  return written && closed;
}

}  // namespace quality
