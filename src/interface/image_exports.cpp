// The exported image functions, screening on the process-wide state.
#include <korvel/korvel.h>

#include "image/image_entry_points.h"
#include "interface/globals.h"

int KORVEL_GetImageTempateData_1Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  return ScreenImage(g_defaultState, 1, source, output, width, height, templateType, cellWidth,
                     cellHeight, dotMode, useTemplateDiffusion)
             ? 1
             : 0;
}

int KORVEL_GetImageTempateData_2Bit(unsigned char* source, unsigned char* output, int width,
                                    int height, __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                    int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                    bool useTemplateDiffusion) {
  return ScreenImage(g_defaultState, 2, source, output, width, height, templateType, cellWidth,
                     cellHeight, dotMode, useTemplateDiffusion)
             ? 1
             : 0;
}
