// The halftone engine: screens an image or a test pattern on a grid of enlarged cells.
#ifndef KORVEL_IMAGE_HALFTONE_ENGINE_H
#define KORVEL_IMAGE_HALFTONE_ENGINE_H

// Screen with the template diffusion instead of the template type's own screen. Set by the
// image entry points (except the 2-bit short path); read by the engine.
extern bool g_useTemplateDiffusion;

// Template types with a screen of their own; every other type is error-diffused.
constexpr int kSmallDotType = 39;
constexpr int kSmallMediumDotType = 40;
constexpr int kSmallMediumLargeDotType = 41;
constexpr int kMatrixType = 42;

// Algorithm number that screens the image already in the intermediate raster; every other
// number names a test pattern drawn by SetupCompensation.
constexpr int kImageAlgorithm = 11;

// Screen the width x height intermediate raster (8 bits, stride (width + 3) & ~3) on cells of
// (factor * cellWidth) x (factor * cellHeight) pixels: one reduced pixel per cell, taken from
// the raster (algorithm 11, nearest neighbour) or drawn as the algorithm's pattern, widened by
// 10 replicated pixels each side, screened by the template type's screen (or the template
// diffusion) and enlarged back, clipped at the right and bottom. Writes every pixel inside
// width x height, no row padding. Needs width, height, factor, cellWidth, cellHeight >= 1 and
// a screened grid (cols + 20) x rows whose 8-bit raster fits in INT_MAX bytes. Returns 1.
int RunHalftoneEngine(unsigned char* intermediate, int height, int width, int factor, int cellWidth,
                      int cellHeight, int algorithm, int templateType);

// The caller's image (stride (width + 3) & ~3) through the same cells, widening and
// error-diffusion screen as RunHalftoneEngine with algorithm 11 and the template diffusion off,
// packed straight into the 1-bit output (stride ((width + 31) >> 3) & ~3, every byte written,
// bits past the width 0) one row of cells at a time, without an 8-bit raster of the whole
// area. The result equals that engine run followed by PackOneBit. Same size needs. Returns 1.
int ScreenImageToOneBit(const unsigned char* source, unsigned char* output, int width, int height,
                        int factor, int cellWidth, int cellHeight);

#endif
