#include "template/image_template_4bit.h"

#include "core/raster_geometry.h"
#include "template/template_generators.h"

bool HalftoneImageTo4Bit(const ScreeningState& state, const unsigned char* source,
                         unsigned char* destination, int width, int height) {
  if (!RasterFits(width, height, 8) || !BufferUsable(source, width, height) ||
      !BufferUsable(destination, width, height))
    return false;
  DiffuseLevelImage(state, source, destination, width, height, 4, /*invertGrey=*/true);
  return true;
}
