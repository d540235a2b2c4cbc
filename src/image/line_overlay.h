// Soft, jittered slanted lines laid over a grey test pattern.
#ifndef KORVEL_IMAGE_LINE_OVERLAY_H
#define KORVEL_IMAGE_LINE_OVERLAY_H

// Pull one grey pixel towards mid grey along a contrast-reducing curve, in place.
void SoftenPixel(unsigned char* pixel);

// Soften the pixels of parallel lines 10 pixels apart at `angle` degrees (+5 or -5) on an
// 8-bit raster of rows x cols (stride (cols + 3) & ~3), jittered with rand(). Returns 1.
int ApplyLineOverlay(unsigned char* raster, int rows, int cols, int angle);

#endif
