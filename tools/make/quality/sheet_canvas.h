// An RGB picture to draw the comparison sheet on: filled rectangles, zoomed grey images, lines
// and labels in the bitmap font; written as a PNG.
#ifndef KORVEL_TOOLS_QUALITY_SHEET_CANVAS_H
#define KORVEL_TOOLS_QUALITY_SHEET_CANVAS_H

#include <cstdint>
#include <string>
#include <vector>

#include "quality_metrics.h"

namespace quality {

struct Colour {
  uint8_t r, g, b;
};

class SheetCanvas {
 public:
  SheetCanvas(int width, int height, Colour background);

  int Width() const { return width_; }
  int Height() const { return height_; }

  void FillRect(int x, int y, int width, int height, Colour colour);
  // The image with every pixel drawn as a zoom x zoom square, its top left at (x, y).
  void DrawGrey(const GreyImage& image, int x, int y, int zoom);
  // A straight line `thickness` pixels wide.
  void Line(double x0, double y0, double x1, double y1, Colour colour, int thickness = 1);
  // Text from (x, y) at `scale` pixels per font pixel; returns the width drawn. Characters the
  // font does not hold are refused (std::invalid_argument), so that no label loses letters.
  int Text(int x, int y, const std::string& text, Colour colour, int scale = 2);
  static int TextWidth(const std::string& text, int scale = 2);

  // False, with the reason in *error, when the file cannot be written.
  bool WritePng(const std::string& path, std::string* error) const;

 private:
  void Plot(int x, int y, Colour colour);

  int width_;
  int height_;
  std::vector<uint8_t> rgb_;
};

}  // namespace quality

#endif
