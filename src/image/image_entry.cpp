// Placeholder image entry points, replaced as the image subsystem lands.
#include <korvel/korvel.h>

int KORVEL_GetImageTempateData_1Bit(unsigned char*, unsigned char*, int, int,
                                    __QUENTAL_TEMPLATE_TYPE, int, int, __QUENTAL_DOT_MODE, bool) {
  return 1;
}

int KORVEL_GetImageTempateData_2Bit(unsigned char*, unsigned char*, int, int,
                                    __QUENTAL_TEMPLATE_TYPE, int, int, __QUENTAL_DOT_MODE, bool) {
  return 1;
}
