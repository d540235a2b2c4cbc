/*
 * korvel: halftoning (screening) for inkjet printing pipelines.
 *
 * One header for the whole public surface. A host (printer driver or raster image processor)
 * loads libkorvel.so, calls KORVEL_Init once with a quality level, then makes working calls in
 * any order, and calls KORVEL_UnInit before unloading.
 *
 * Rasters
 *   Every raster is packed row by row; a row is padded to a multiple of 4 bytes:
 *     stride(width, bits) = ((width * bits + 31) >> 5) * 4
 *   1 bit per pixel : pixel x in byte x / 8, bit 7 - (x % 8) (most significant first).
 *   2 bits per pixel: pixel x in byte x / 4, masks 0xC0, 0x30, 0x0C, 0x03 for x % 4 = 0..3.
 *   4 bits per pixel: pixel x in byte x / 2, an even x in the LOW nibble, an odd x in the high.
 *   8 bits per pixel: one byte per pixel; grey 255 is paper white, 0 is full ink.
 *   Output buffers are supplied by the caller and hold stride * height bytes.
 *
 * Ink levels
 *   Template levels are percentages 0..100. Internally ink is measured on a 0..2550 scale
 *   (ten steps per 8-bit level); a 256-entry level-to-amount table maps a level index
 *   0..255 to an amount. KORVEL_Init installs the linear table (entry i = 10 * i); an image
 *   call installs the tone curve of its template type, which stays in force for later template
 *   calls until the next KORVEL_Init or mask load.
 *
 * Parameter files
 *   Tone curves come from "<exe dir>/Data/QntPassParam_<level>.ini", where <exe dir> is the
 *   directory of the host's executable. When the environment variable KORVEL_DATA_DIR is set
 *   and not empty, it names the folder that holds the QntPassParam_<level>.ini files instead.
 *   <level> is the bucketed quality level (10, 20, ..., 100, or 0 / -1). A path longer than
 *   255 characters counts as a missing file. The files are read afresh at every use (an edited
 *   file applies to the next image call) and never written.
 *   Format: INI text with integer values, for example
 *       [QNT_CURVE]
 *       EffectiveParams=3      ; number of curve points N (used when 3..2551)
 *       Param1=0               ; output of point k in percent, points evenly spread
 *       Param2=50              ;   over the input from Param1 (0 %) to ParamN (100 %)
 *       Param3=100
 *       [QNT_COMPENSATION]
 *       Param0=0               ; Param0..Param6: ink percent at rows k/6 of the height
 *   Reading: section and key names are case-insensitive; blanks around names and values, a
 *   UTF-8 byte-order mark and CRLF line ends are accepted; lines starting with ';' or '#' are
 *   comments; the first matching key of the first matching section wins; a value is its sign
 *   and leading digits (no digits read as 0, beyond 32 bits it saturates); a missing or
 *   unreadable file, section or key reads as 0. At a positive level a missing or unusable
 *   curve (N below 3 or above 2551) maps every amount below full scale to 0. Keep curve values
 *   within 0..100 %: the level table takes them unclamped.
 *
 * Threads
 *   The library starts no thread and takes no lock. Global state (the level table, the tone
 *   curve, the pseudo-random seed of the C library, lazily built tables) is written without
 *   synchronisation: make one library call at a time, except that template, split and 4-bit
 *   image calls may run concurrently with each other while nothing rewrites the level table.
 *   Hosts that screen several inks or jobs at once use contexts instead (korvel_context.h):
 *   each holds state of its own, and calls on different contexts may run concurrently.
 *
 * Results
 *   The KORVEL_* functions return 1 on success and 0 when they refuse their input; a refused
 *   call leaves every output byte untouched. Refusals are listed with each function.
 */
#ifndef KORVEL_KORVEL_H
#define KORVEL_KORVEL_H

#if defined(__GNUC__) || defined(__clang__)
#define KORVEL_API __attribute__((visibility("default")))
#else
#define KORVEL_API
#endif

#include "korvel_version.h"

/*
 * Template type of the image calls, 0..42 (the enumerators have no names; pass the number):
 *   0          vertical grey ramp                     10..33, 35, 37  as 0
 *   1          ramp tile, a tenth of the width        34   the caller's image
 *   2          uniform mid grey (127)                 36   ramp over height + 1 rows, first
 *   3          ramp tile, a fiftieth of the width          dropped (mid grey below 4 rows)
 *   4          bars of random height on a ramp        38   ramp from the compensation profile
 *   5, 6       ramp with soft lines at +5 / -5 deg    39   image, small dots only (2-bit)
 *   7          tile of 1 with soft lines at +5 deg    40   image, small and medium dots
 *   8, 9       wave-shifted bars                      41   image, small, medium, large dots
 *   11         as 0, with the bent built-in curve     42   image (or, with no image, the
 *                                                          ramp) on a 257 x 257 threshold matrix
 * Values outside 0..42 behave like 0.
 */
enum __QUENTAL_TEMPLATE_TYPE : int {};

/* Dot mode 0..3: every screened cell is enlarged by 1, 2, 4 or 8. Other values act as 0. */
enum __QUENTAL_DOT_MODE : int {};

/* ---- Library frame ------------------------------------------------------------------------ */

/* Buckets the quality level (0 and -1 kept, otherwise 10, 20, ..., 100) and resets the
 * level-to-amount table to the linear default. Always returns 1. */
KORVEL_API int KORVEL_Init(int level);

/* Nothing of the library's own outlives a call, so there is nothing to release. Returns 1. */
KORVEL_API int KORVEL_UnInit();

/* ---- Uniform-level templates -------------------------------------------------------------- */

/* Fills out (stride * height bytes) with an error-diffused template of one ink level given in
 * percent, at 1, 2 or 4 bits per pixel. A dot is 1, 3 or 15; everything else, padding included,
 * is 0. The dots sit at the same pixels at every depth.
 * Returns 1, or 0 with out untouched when: the level is outside 0..100; width or height is
 * negative; out is null while width and height are both non-zero; stride * height exceeds
 * INT_MAX. Width or height 0 writes nothing and returns 1. */
KORVEL_API int KORVEL_GetTempateData_1Bit(unsigned char* out, int width, int height, int level);
KORVEL_API int KORVEL_GetTempateData_2Bit(unsigned char* out, int width, int height, int level);
KORVEL_API int KORVEL_GetTempateData_4Bit(unsigned char* out, int width, int height, int level);

/* ---- Multi-plane splits ------------------------------------------------------------------- */

/* The 1-bit splits do nothing: they read no argument, write nothing and return 1. */
KORVEL_API int KORVEL_GetTempateData_1Bit_1to2(unsigned char* plane1, unsigned char* plane2,
                                               int width, int height);
KORVEL_API int KORVEL_GetTempateData_1Bit_1to3(unsigned char* plane1, unsigned char* plane2,
                                               unsigned char* plane3, int width, int height);
KORVEL_API int KORVEL_GetTempateData_1Bit_1to4(unsigned char* plane1, unsigned char* plane2,
                                               unsigned char* plane3, unsigned char* plane4,
                                               int width, int height);

/* Divide an area between two, three or four 2-bit planes (stride = ((2 * width + 31) >> 5) * 4,
 * stride * height bytes each, all written) so that every pixel is 11 in exactly one plane and
 * 00 in the others; over the whole buffers the planes are disjoint and their union is all ones.
 * Returns 1, or 0 with every plane untouched when width or height is negative, a plane is null
 * while the area is not empty, or stride * height exceeds INT_MAX. */
KORVEL_API int KORVEL_GetTempateData_2Bit_1to2(unsigned char* plane1, unsigned char* plane2,
                                               int width, int height);
KORVEL_API int KORVEL_GetTempateData_2Bit_1to3(unsigned char* plane1, unsigned char* plane2,
                                               unsigned char* plane3, int width, int height);
KORVEL_API int KORVEL_GetTempateData_2Bit_1to4(unsigned char* plane1, unsigned char* plane2,
                                               unsigned char* plane3, unsigned char* plane4,
                                               int width, int height);

/* ---- Image halftoning --------------------------------------------------------------------- */

/* Screen the caller's 8-bit image (template types 34, 39..42) or one of the library's test
 * patterns (every other type) to 1 or 2 bits per pixel. source has stride ((width + 3) & ~3);
 * it is read only for types 34, 39, 40, 41 and 42 and may be null otherwise (and for 42).
 * 2-bit codes: 0 no dot, 1 small, 2 medium, 3 large. useTemplateDiffusion screens with the
 * template diffusion instead of the type's own screen.
 * The 2-bit call screens types 39, 40 and 41 pixel by pixel (no cells, no tone curve, flag
 * ignored) and then writes only bytes 0..(width - 1) / 4 of each output row; every other call
 * clears the whole output first.
 * Returns 1, or 0 with output untouched and no state changed when width, height, cellWidth or
 * cellHeight is below 1, output is null, source is null for a type that reads it, or the
 * largest 8-bit working raster, (width + 20) x (height + 1) pixels at ((width + 23) & ~3)
 * bytes a row, would exceed INT_MAX bytes (2 GiB). */
KORVEL_API int KORVEL_GetImageTempateData_1Bit(unsigned char* source, unsigned char* output,
                                               int width, int height,
                                               __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                               int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                               bool useTemplateDiffusion);
KORVEL_API int KORVEL_GetImageTempateData_2Bit(unsigned char* source, unsigned char* output,
                                               int width, int height,
                                               __QUENTAL_TEMPLATE_TYPE templateType, int cellWidth,
                                               int cellHeight, __QUENTAL_DOT_MODE dotMode,
                                               bool useTemplateDiffusion);

/* Halftone an 8-bit image (stride (width + 3) & ~3) to 4 bits per pixel with the template
 * diffusion; a pixel of grey v takes the amount of level index 255 - v. Every nibble is 0x0 or
 * 0xF. Returns 1, or 0 with destination untouched when width or height is negative, a buffer is
 * null while the area is not empty, or a buffer size exceeds INT_MAX. */
KORVEL_API int KORVEL_GetImageTempateData_4Bit(unsigned char* source, unsigned char* destination,
                                               int width, int height);

/* ---- Threshold masks ---------------------------------------------------------------------- */

/* Byte substitution through the library's fixed 256-entry encode table (a permutation of
 * 0..255 in which no byte maps to itself), or its inverse. Masks are stored encoded. */
class IBufferProc {
 public:
  virtual ~IBufferProc() {}
  /* Replace each of the first length bytes b by encode[b]. Returns true, or false with nothing
   * changed when buffer is null or length is 0. */
  virtual bool Encode(unsigned char* buffer, unsigned int length) = 0;
  /* Replace each of the first length bytes b by decode[b], undoing Encode. Returns true, or
   * false with nothing changed when buffer is null or length is 0. */
  virtual bool Decode(unsigned char* buffer, unsigned int length) = 0;
};

/* Holds a threshold mask of P planes of H x W thresholds and screens 8-bit images against it.
 * A stored mask is 20 + 4 * P * H * W bytes: five little-endian int32 words (tag, P, H, W,
 * maximum threshold M) and P * H * W raw thresholds, plane by plane and row by row, every byte
 * passed through Encode. Loading normalises every raw threshold t to trunc(t / M * 254), so
 * raw thresholds 0..M screen on 0..254; one above M normalises above 254 (never a dot once
 * above 254), and one at or below -M / 254 to a negative threshold, under which even a white
 * pixel is a dot. Destroying the object frees a mask it still holds. */
class IDitherMaskGenerator {
 public:
  virtual ~IDitherMaskGenerator() {}
  /* Decode and keep a stored mask of length bytes; the caller's bytes are not modified. A
   * successful load replaces (and frees) any mask held before and resets the level-to-amount
   * table to the linear default, exactly as KORVEL_Init does, discarding any tone curve.
   * Returns true, or false, keeping the mask held before and the level table as they were,
   * when: mask is null; length is below 20; P, H, W or M is 0 or less; the thresholds
   * (4 * P * H * W bytes) would exceed 1 GiB; length is not exactly 20 + 4 * P * H * W.
   * Running out of memory for the thresholds throws std::bad_alloc, with nothing changed. */
  virtual bool LoadMask(const unsigned char* mask, int length) = 0;
  /* Screen height rows of width source pixels (rows packed without gaps) against mask plane
   * `plane` into output rows of dstStride bytes: bits == 1 gives 1 bit per pixel, any other
   * value 2 bits per pixel (a dot is 11), most significant first. A pixel p becomes a dot where
   * 255 - p is greater than the threshold under it, so 255 is a dot only under a negative
   * threshold and 0 is a dot wherever the threshold is 254 or less. The mask tiles the image:
   * row r, pixel x reads mask row (yOffset + r * yStep) mod H and column (xOffset + x * xStep)
   * mod W, offsets of any sign taken modulo the mask. All dstStride * height output bytes are
   * written; bits not set by a dot, padding included, are 0.
   * Returns true, or false with output untouched when: no mask is loaded; source or output is
   * null; plane is outside 0..P-1; width or height is below 0; xStep or yStep is below 0;
   * dstStride is below the bytes that width pixels take at the chosen depth
   * ((width + 7) / 8 at 1 bit, (width + 3) / 4 at 2 bits). */
  virtual bool Dither(const unsigned char* source, unsigned char* output, int dstStride,
                      int width, int height, int plane, int xOffset, int yOffset, int xStep,
                      int yStep, int bits) = 0;
  /* Free the mask held, if any. Always returns true. */
  virtual bool ReleaseMask() = 0;
};

/* Create the objects (null when memory runs out) and destroy them through their virtual
 * destructors; the Delete functions ignore a null pointer. */
extern "C" {
KORVEL_API IDitherMaskGenerator* DitherMaskGenerator_Create(void);
KORVEL_API void DitherMaskGenerator_Delete(IDitherMaskGenerator* object);
KORVEL_API IBufferProc* BufferProc_Create(void);
KORVEL_API void BufferProc_Delete(IBufferProc* object);
}

#endif /* KORVEL_KORVEL_H */
