// The 4-bit image path: an 8-bit grey image halftoned with the template diffusion, each pixel
// taking the amount of level index 255 - grey, packed as full or empty nibbles.
#include <korvel/korvel.h>

#include "template/raster_geometry.h"
#include "template/template_generators.h"

int KORVEL_GetImageTempateData_4Bit(unsigned char* source, unsigned char* destination, int width,
                                    int height) {
  if (!RasterFits(width, height, 8) || !BufferUsable(source, width, height) ||
      !BufferUsable(destination, width, height))
    return 0;
  DiffuseLevelImage(destination, source, width, height, 4, /*invertGrey=*/true);
  return 1;
}
