// Soft, jittered slanted lines laid over a grey test pattern.
#ifndef KORVEL_PATTERNS_LINE_OVERLAY_H
#define KORVEL_PATTERNS_LINE_OVERLAY_H

// Pull one grey pixel towards mid grey along a contrast-reducing curve, in place: 0 becomes 49,
// 127 and 128 become 127, 255 becomes 205.
void SoftenPixel(unsigned char* pixel);

// Soften the pixels of parallel lines 10 pixels apart, slanted by `angle` degrees, on an 8-bit
// raster of cols x rows (stride (cols + 3) & ~3). Every line point is displaced by a jitter
// drawn from the C library's rand(): one number per row and line on a raster taller than wide,
// two per column and line otherwise. The callers pass +5 and -5; an angle of 0 or one outside
// -89..89 degrees, an empty or oversized raster or a null pointer draw nothing.
void ApplyLineOverlay(unsigned char* raster, int cols, int rows, int angle);

#endif
