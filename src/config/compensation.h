// Test patterns that the halftone engine screens instead of a caller's image.
#ifndef KORVEL_CONFIG_COMPENSATION_H
#define KORVEL_CONFIG_COMPENSATION_H

// Draw the pattern of an algorithm number into an 8-bit raster of rows x cols pixels (row
// stride (cols + 3) & ~3; only the first cols bytes of a row are written):
//   0 vertical ramp, 1 / 4 ramp tiles a tenth / a fiftieth of the width (columns the tiles
//   leave over are white), 3 mid grey 127, 5 bars of random height on a ramp, inverted, 6 / 7
//   the ramp with soft lines at +5 / -5 degrees, 8 the tiles of 1 with lines at +5 degrees,
//   9 / 10 wave-shifted bars, 15 the profile of the "QNT_COMPENSATION" section of the
//   parameter file. Bars (one rand() each) are 4 / factor pixels wide; a factor that makes
//   them 0 wide, or one below 1, draws no bars. Algorithm 11 (the caller's image) and any
//   other number leave the raster as it is, and so does an empty or oversized raster or a
//   null pointer. Always returns 1.
int SetupCompensation(unsigned char* raster, int rows, int cols, int algorithm, int factor);

#endif
