#include "raster.h"

#include <cstring>
#include <utility>

GreyImage GreyImage::Allocate(int width, int height) {
  GreyImage image;
  image.width = width;
  image.height = height;
  image.stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  // Left uninitialised: the pages of a large image are touched only as rows arrive.
  image.pixels.reset(new uint8_t[image.stride * static_cast<size_t>(height)],
                     std::default_delete<uint8_t[]>());
  return image;
}

GreyImage GreyImage::Adopt(int width, int height, std::shared_ptr<uint8_t> pixels) {
  GreyImage image;
  image.width = width;
  image.height = height;
  image.stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  image.pixels = std::move(pixels);
  return image;
}

void GreyImage::WhitenPadding() {
  const size_t padding = stride - static_cast<size_t>(width);
  if (padding == 0) return;
  for (int y = 0; y < height; ++y) std::memset(Row(y) + width, 255, padding);
}

DotRaster DotRaster::Allocate(int width, int height, int bits) {
  DotRaster raster;
  raster.width = width;
  raster.height = height;
  raster.bits = bits;
  raster.stride = ((static_cast<size_t>(width) * bits + 31) >> 5) * 4;
  raster.bytes.reset(new uint8_t[raster.Size()]());
  return raster;
}
