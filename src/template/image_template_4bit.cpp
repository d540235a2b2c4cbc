#include "template/image_template_4bit.h"

#include "core/raster_geometry.h"
#include "template/template_generators.h"

bool HalftoneImageTo4Bit(const ScreeningState& state, const unsigned char* source,
                         unsigned char* destination, int width, int height) {
  if (!RasterFits(width, height, 8) || !BufferUsable(source, width, height) ||
      !BufferUsable(destination, width, height))
    return false;
  const size_t packed8 = static_cast<size_t>(RowStride(width, 8));
  const size_t packed4 = static_cast<size_t>(RowStride(width, 4));
  HalftoneImageTo4BitAtStrides(state, source, packed8, destination, packed4, width, height);
  return true;
}

void HalftoneImageTo4BitAtStrides(const ScreeningState& state, const unsigned char* source,
                                  size_t sourceStride, unsigned char* destination,
                                  size_t destinationStride, int width, int height) {
  DiffuseLevelImage(state, source, sourceStride, destination, destinationStride, width, height, 4,
                    /*invertGrey=*/true);
}
