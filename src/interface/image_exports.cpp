// The exported image functions: the image screen run on the process-wide state with packed
// strides, after the one check of their arguments.
#include <korvel/korvel.h>

#include "core/raster_geometry.h"
#include "image/image_entry_points.h"
#include "interface/globals.h"

namespace {

int ScreenOnProcessState(int bitsPerPixel, const unsigned char* source, unsigned char* output,
                         int width, int height, int templateType, int cellWidth, int cellHeight,
                         int dotMode, bool useTemplateDiffusion) {
  if (!ImageCallAccepted(source, output, width, height, templateType, cellWidth, cellHeight))
    return 0;
  ScreenImage(g_defaultState, bitsPerPixel, source, static_cast<size_t>(RowStride(width, 8)),
              output, static_cast<size_t>(RowStride(width, bitsPerPixel)), width, height,
              templateType, cellWidth, cellHeight, dotMode, useTemplateDiffusion);
  return 1;
}

}  // namespace

int KORVEL_GetImageTempateData_1Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  return ScreenOnProcessState(1, source, output, width, height, templateType, cellWidth, cellHeight,
                              dotMode, useTemplateDiffusion);
}

int KORVEL_GetImageTempateData_2Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  return ScreenOnProcessState(2, source, output, width, height, templateType, cellWidth, cellHeight,
                              dotMode, useTemplateDiffusion);
}
