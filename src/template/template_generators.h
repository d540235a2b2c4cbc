// The template generators built on the shared diffusion step, for the exports and for the
// splits and image paths that reuse them.
#ifndef KORVEL_TEMPLATE_TEMPLATE_GENERATORS_H
#define KORVEL_TEMPLATE_TEMPLATE_GENERATORS_H

#include <cstddef>
#include <cstdint>

#include "core/screening_state.h"

// Level index of a percentage 0..100: min(trunc(level * 2.55 + 0.5), 255) in double.
int LevelIndexOfPercent(int level);

// Clear a packed raster of bitsPerPixel (1, 2, 4 or 8) and diffuse one amount over it. A dot
// is written with all bits of its pixel set. No argument is checked: width, height >= 0 and
// a buffer of RowStride(width, bits) * height bytes. Seeds `random` from the clock (a generator
// of the C library only; nothing is drawn).
void GenerateUniformTemplate(unsigned char* out, int width, int height, int32_t amount,
                             int bitsPerPixel, PatternRandom& random);

// The uniform template of a level percent at the amount the state's level table gives it.
// Refuses (false, nothing written) a level outside 0..100 (compared unsigned), a raster size
// that does not fit and a missing buffer for a non-empty raster.
bool GenerateTemplateAtPercent(const ScreeningState& state, unsigned char* out, int width,
                               int height, int level, int bitsPerPixel);

// The same at a host's stride (one that holds a row of the width at the depth), the arguments
// checked by the caller: each row receives the first min(outStride, packed stride) bytes of its
// packed row; bytes after them stay as they were.
void GenerateTemplateAtStride(const ScreeningState& state, unsigned char* out, size_t outStride,
                              int width, int height, int level, int bitsPerPixel);

// Diffuse an 8-bit image (rows inStride apart; only the width bytes of a row are read) whose
// bytes select level indices of the state's level table: the byte itself, or 255 minus it when
// invertGrey is set (grey images, where 255 is paper white). Writes rows outStride apart: the
// first min(outStride, packed stride) bytes of each packed row of bitsPerPixel, cleared and
// diffused; bytes after them stay as they were. No argument check.
void DiffuseLevelImage(const ScreeningState& state, const unsigned char* in, size_t inStride,
                       unsigned char* out, size_t outStride, int width, int height,
                       int bitsPerPixel, bool invertGrey);

// The image variant: each 8-bit input byte (stride of 8-bit rows) is a level index into the
// state's level table; writes 255 for a dot and 0 otherwise into an 8-bit raster of the same
// geometry. No argument check.
void GetDiffusedImageData_8Bit(const ScreeningState& state, const unsigned char* in,
                               unsigned char* out, int width, int height);

#endif
