// Test patterns that the halftone engine screens instead of a caller's image.
#ifndef KORVEL_CONFIG_COMPENSATION_H
#define KORVEL_CONFIG_COMPENSATION_H

// Draw the pattern of an algorithm number into an 8-bit raster of rows x cols pixels (row
// stride ((cols + 3) & ~3)). Algorithm 11 leaves the raster as it is. Always returns 1.
int SetupCompensation(unsigned char* raster, int rows, int cols, int algorithm, int factor);

#endif
