// The exported template functions: uniform-level templates, multi-plane splits and the 4-bit
// image path, all at the amounts of the process-wide level table.
#include <korvel/korvel.h>

#include "interface/globals.h"
#include "template/image_template_4bit.h"
#include "template/splits.h"
#include "template/template_generators.h"

int KORVEL_GetTempateData_1Bit(unsigned char* out, int width, int height, int level) {
  return GenerateTemplateAtPercent(g_defaultState, out, width, height, level, 1) ? 1 : 0;
}

int KORVEL_GetTempateData_2Bit(unsigned char* out, int width, int height, int level) {
  return GenerateTemplateAtPercent(g_defaultState, out, width, height, level, 2) ? 1 : 0;
}

int KORVEL_GetTempateData_4Bit(unsigned char* out, int width, int height, int level) {
  return GenerateTemplateAtPercent(g_defaultState, out, width, height, level, 4) ? 1 : 0;
}

// The 1-bit splits are one body under three names: they read nothing and write nothing.
static int NoOneBitSplit() {
  return 1;
}

int KORVEL_GetTempateData_1Bit_1to2(unsigned char*, unsigned char*, int, int) {
  return NoOneBitSplit();
}
int KORVEL_GetTempateData_1Bit_1to3(unsigned char*, unsigned char*, unsigned char*, int, int) {
  return NoOneBitSplit();
}
int KORVEL_GetTempateData_1Bit_1to4(unsigned char*, unsigned char*, unsigned char*, unsigned char*,
                                    int, int) {
  return NoOneBitSplit();
}

int KORVEL_GetTempateData_2Bit_1to2(unsigned char* first, unsigned char* second, int width,
                                    int height) {
  return SplitIntoTwoPlanes(g_defaultState, first, second, width, height) ? 1 : 0;
}

int KORVEL_GetTempateData_2Bit_1to3(unsigned char* first, unsigned char* second,
                                    unsigned char* third, int width, int height) {
  return SplitIntoThreePlanes(g_defaultState, first, second, third, width, height) ? 1 : 0;
}

int KORVEL_GetTempateData_2Bit_1to4(unsigned char* first, unsigned char* second,
                                    unsigned char* third, unsigned char* fourth, int width,
                                    int height) {
  return SplitIntoFourPlanes(g_defaultState, first, second, third, fourth, width, height) ? 1 : 0;
}

int KORVEL_GetImageTempateData_4Bit(unsigned char* source, unsigned char* destination, int width,
                                    int height) {
  return HalftoneImageTo4Bit(g_defaultState, source, destination, width, height) ? 1 : 0;
}
