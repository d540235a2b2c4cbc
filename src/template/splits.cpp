// Placeholder splits and 4-bit image path, replaced as they land.
#include <korvel/korvel.h>

int KORVEL_GetTempateData_1Bit_1to2(unsigned char*, unsigned char*, int, int) { return 1; }
int KORVEL_GetTempateData_1Bit_1to3(unsigned char*, unsigned char*, unsigned char*, int, int) {
  return 1;
}
int KORVEL_GetTempateData_1Bit_1to4(unsigned char*, unsigned char*, unsigned char*,
                                    unsigned char*, int, int) {
  return 1;
}
int KORVEL_GetTempateData_2Bit_1to2(unsigned char*, unsigned char*, int, int) { return 1; }
int KORVEL_GetTempateData_2Bit_1to3(unsigned char*, unsigned char*, unsigned char*, int, int) {
  return 1;
}
int KORVEL_GetTempateData_2Bit_1to4(unsigned char*, unsigned char*, unsigned char*,
                                    unsigned char*, int, int) {
  return 1;
}
int KORVEL_GetImageTempateData_4Bit(unsigned char*, unsigned char*, int, int) { return 1; }
