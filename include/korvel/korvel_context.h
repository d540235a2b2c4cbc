/*
 * korvel contexts: the reentrant C interface of the library.
 *
 * A context holds everything the screening operations read and write: the quality level, the
 * level-to-amount table, the tone curve, the template-diffusion choice, the folder of the
 * parameter files, an optional tone curve of its own, the pseudo-random generator of the test
 * patterns and a threshold mask. The operations below behave exactly like the KORVEL_* calls of
 * korvel.h made on a library in the same state, and give the same bytes, but they write nothing
 * outside their context and their output buffers (the C library's rand() is left alone). The
 * one setting they share with the KORVEL_* calls is the OpenMP thread count of the calling
 * thread, which the 2-bit dot screens (template types 39 to 41) set to 2 when the host has an
 * OpenMP runtime loaded; it belongs to the calling thread, not to the process.
 *
 * Threads
 *   - Calls on different contexts may run at the same time on any threads.
 *   - One context is used by one thread at a time; a host that hands a context to another
 *     thread orders the hand-over itself (the library takes no lock).
 *   - A stream (below) is independent of its context once begun: it may run on another thread
 *     while the context screens something else.
 *   - korvel_strerror and the KORVEL_* calls on their process-wide state may run beside any
 *     context call. Tables the library builds on first use are built once, thread-safely.
 *   - The library starts no thread.
 *
 * Results
 *   Every operation returns a korvel_status; KORVEL_OK is 0. A refused call writes nothing:
 *   no output byte and no setting of the context changes. Running out of memory is reported
 *   as KORVEL_ERROR_NO_MEMORY (no C++ exception leaves these functions).
 *
 * Rasters
 *   Packed as in korvel.h (1, 2, 4 or 8 bits per pixel, most significant pixel first at 1 and 2
 *   bits, the even pixel in the low nibble at 4 bits; grey 255 is paper white). Every source and
 *   output takes an explicit stride in bytes; a stride below the bytes one row needs,
 *   (width * bits + 7) / 8, is refused. Each output row receives min(stride, packed stride)
 *   bytes, where packed stride = ((width * bits + 31) >> 5) * 4 is the row the KORVEL_* calls
 *   write; the bytes of a row after those are left as they are (mask dithering writes whole
 *   rows of output_stride bytes, as IDitherMaskGenerator::Dither does). With stride = packed
 *   stride the output equals that of the KORVEL_* call byte for byte. A source row is read up
 *   to min(stride, (width + 3) & ~3) bytes; the row padding the KORVEL_* calls read is taken as
 *   white (255) where the stride does not cover it.
 *   Sizes: width, height and the cell factors at least 1, and every working raster within
 *   2 GiB (INT_MAX bytes), as the KORVEL_* calls require.
 */
#ifndef KORVEL_KORVEL_CONTEXT_H
#define KORVEL_KORVEL_CONTEXT_H

#include <stddef.h>

#if defined(__GNUC__) || defined(__clang__)
#define KORVEL_CONTEXT_API __attribute__((visibility("default")))
#else
#define KORVEL_CONTEXT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum korvel_status {
  KORVEL_OK = 0,
  KORVEL_ERROR_NULL_CONTEXT = 1,    /* the context (or stream) handle is null */
  KORVEL_ERROR_NULL_BUFFER = 2,     /* a source, output or argument pointer is null */
  KORVEL_ERROR_SIZE = 3,            /* width, height or cell size out of range */
  KORVEL_ERROR_STRIDE = 4,          /* a stride is smaller than one row needs */
  KORVEL_ERROR_LEVEL = 5,           /* a template level outside 0..100 percent */
  KORVEL_ERROR_TONE_CURVE = 6,      /* fewer than 3 or more than 2551 points, or outside 0..100 */
  KORVEL_ERROR_FOLDER = 7,          /* the parameter folder makes a path above 255 characters */
  KORVEL_ERROR_MASK = 8,            /* a stored mask the mask loader refuses */
  KORVEL_ERROR_NO_MASK = 9,         /* mask dithering without a loaded mask */
  KORVEL_ERROR_ARGUMENT = 10,       /* another argument out of range (plane, bits, steps) */
  KORVEL_ERROR_NOT_STREAMABLE = 11, /* a configuration that does not screen row by row */
  KORVEL_ERROR_STREAM_END = 12,     /* more rows than the page has */
  KORVEL_ERROR_NO_MEMORY = 13,      /* memory ran out */
  KORVEL_ERROR_PARAMETER_FILE = 14  /* the quality level's parameter file is missing or unusable */
} korvel_status;

/* A short English message for a status; never null ("unknown status" for other values). */
KORVEL_CONTEXT_API const char* korvel_strerror(korvel_status status);

typedef struct korvel_context korvel_context;

/* ---- Life and settings -------------------------------------------------------------------- */

/* A new context in the state the process-wide one has after KORVEL_Init(0): quality level 0,
 * the linear level-to-amount table, no tone curve of its own, the usual parameter folder, no
 * mask. *out is set to the context, or to null when the call fails. */
KORVEL_CONTEXT_API korvel_status korvel_context_create(korvel_context** out);
/* Frees the context and the mask it holds. A null context is ignored. */
KORVEL_CONTEXT_API void korvel_context_destroy(korvel_context* context);

/* As KORVEL_Init: buckets the level (0 and -1 kept, otherwise 10, 20, ..., 100), which numbers
 * the parameter file QntPassParam_<level>.ini, and resets the level-to-amount table to the
 * linear default. */
KORVEL_CONTEXT_API korvel_status korvel_set_quality(korvel_context* context, int level);
/* The bucketed quality level into *level. */
KORVEL_CONTEXT_API korvel_status korvel_get_quality(const korvel_context* context, int* level);

/* The folder that holds the QntPassParam_<level>.ini files of this context. Null or "" goes
 * back to the lookup of the KORVEL_* calls (KORVEL_DATA_DIR, else <exe dir>/Data). A folder whose
 * file paths would exceed 255 characters is refused. The files are read at every image call. */
KORVEL_CONTEXT_API korvel_status korvel_set_parameter_folder(korvel_context* context,
                                                             const char* folder);

/* Whether the parameter file the context's image calls read their tone curve from is usable.
 * The library reads any file it can (a missing file, key or number as 0, an impossible point
 * count as no curve) and so screens a blank or nearly blank page from a broken one; a host asks
 * this before screening and refuses the file. KORVEL_OK when the file is usable, or when the
 * context reads no curve from a file (quality level 0 or -1, or a tone curve of its own);
 * KORVEL_ERROR_PARAMETER_FILE when it is missing, not a regular file, larger than 1 MB, or its
 * QNT_CURVE section lacks a whole-number EffectiveParams of 3 to 2551 or a whole-number value
 * (within 32 bits) for one of Param1..ParamN. The path of the level's file ("" when none can be
 * composed) is written into path when path is not null; a path_size below its length plus one
 * is refused with KORVEL_ERROR_ARGUMENT (256 bytes always suffice). path may be null with
 * path_size 0. The file is read once, as an image call reads it; the context does not change. */
KORVEL_CONTEXT_API korvel_status korvel_context_check_parameters(const korvel_context* context,
                                                                 char* path, size_t path_size);

/* A tone curve of the context's own, used instead of the curve of the parameter file: count
 * (3..2551) output values in percent 0..100, evenly spread over the input from 0 % to 100 %, as
 * the Param1..ParamN keys of a parameter file hold them. It applies at every quality level (at
 * level 0 and -1 too, where no file curve is read). points == NULL with count == 0 drops it and
 * goes back to the parameter files. Like a file curve it takes effect at the next image call,
 * which also installs it into the level table used by later template calls. The ramp of
 * template type 38 is still read from the parameter file of the quality level. */
KORVEL_CONTEXT_API korvel_status korvel_set_tone_curve(korvel_context* context, const int* points,
                                                       int count);

/* ---- Uniform-level templates and splits --------------------------------------------------- */

/* As KORVEL_GetTempateData_1Bit/_2Bit/_4Bit with bits = 1, 2 or 4: a template of one ink
 * level (percent 0..100) at the context's level table. */
KORVEL_CONTEXT_API korvel_status korvel_template(korvel_context* context, int bits, int level,
                                                 unsigned char* out, size_t out_stride, int width,
                                                 int height);

/* As KORVEL_GetTempateData_2Bit_1to2/_1to3/_1to4 with plane_count = 2, 3 or 4: planes[0..n-1]
 * are 2-bit planes of the same stride. */
KORVEL_CONTEXT_API korvel_status korvel_split(korvel_context* context, int plane_count,
                                              unsigned char* const* planes, size_t stride,
                                              int width, int height);

/* ---- Image halftoning --------------------------------------------------------------------- */

typedef struct korvel_image_options {
  int template_type;          /* 0..42 as in korvel.h; 34 screens the caller's image */
  int cell_width;             /* horizontal cell factor, >= 1 */
  int cell_height;            /* vertical cell factor, >= 1 */
  int dot_mode;               /* 0..3: cells enlarged 1, 2, 4 or 8 times */
  int use_template_diffusion; /* non-zero: screen with the template diffusion */
} korvel_image_options;

/* As KORVEL_GetImageTempateData_1Bit (bits = 1) or _2Bit (bits = 2). source may be null for
 * the template types that do not read it (every type but 34, 39, 40, 41; 42 reads it when
 * given). Installs the type's tone curve into the context and seeds the context's own pattern
 * generator (0 for 1 bit, 2000 for 2 bits) as the KORVEL_* calls seed rand(). */
KORVEL_CONTEXT_API korvel_status korvel_screen_image(korvel_context* context, int bits,
                                                     const korvel_image_options* options,
                                                     const unsigned char* source,
                                                     size_t source_stride, unsigned char* output,
                                                     size_t output_stride, int width, int height);

/* As KORVEL_GetImageTempateData_4Bit: an 8-bit image to 4 bits per pixel with the template
 * diffusion at the context's level table. */
KORVEL_CONTEXT_API korvel_status
korvel_screen_image_4bit(korvel_context* context, const unsigned char* source, size_t source_stride,
                         unsigned char* output, size_t output_stride, int width, int height);

/* ---- Row-band streaming of the image screens ---------------------------------------------- */

/* A page screened in bands: the host feeds the page's rows top to bottom in bands of any number
 * of rows and receives the same number of screened rows for each band, equal byte for byte to
 * the whole-page korvel_screen_image call with the same options, strides and source. The stream
 * keeps a few rows (two rows of cells and one screened row), never the page.
 *
 * What streams: the caller's image at bits = 1 or 2, that is template types 34, 39, 40, 41 and
 * 42 (42 screening the source rows fed to the stream), with either screen (use_template_diffusion
 * 0 or 1), any cell factors and dot mode: the error-diffusion screen, the template diffusion,
 * the small, small-medium and small-medium-large dot screens and the 257 matrix screen on the
 * grid of cells, and at 2 bits the dot screens of types 39 to 41 straight on the image, which
 * ignore the cells, dot mode and use_template_diffusion as the whole-page call does. Refused
 * with KORVEL_ERROR_NOT_STREAMABLE: any other bits (the 4-bit image path diffuses the page as
 * a whole) and every other template type (the test patterns are drawn for the whole page).
 * Beginning a stream prepares the context as the whole-page call does (it installs the type's
 * tone curve, except on the 2-bit dot screens of types 39 to 41, which install none); the
 * stream keeps its own copy of what it reads, so the context is free again at once. The
 * streams of the dot screens set the OpenMP thread count of the thread that screens a band, as
 * the whole-page call does. *out is set to the new stream, or to null when the call is
 * refused. */
typedef struct korvel_stream korvel_stream;

KORVEL_CONTEXT_API korvel_status korvel_stream_begin(korvel_context* context, int bits,
                                                     const korvel_image_options* options, int width,
                                                     int height, korvel_stream** out);
/* Screen the next `rows` rows of the page (source rows source_stride bytes apart) into `rows`
 * output rows. Refused with KORVEL_ERROR_STREAM_END, writing nothing, when the band reaches past
 * the page's height. rows == 0 is allowed and does nothing. */
KORVEL_CONTEXT_API korvel_status korvel_stream_rows(korvel_stream* stream,
                                                    const unsigned char* source,
                                                    size_t source_stride, unsigned char* output,
                                                    size_t output_stride, int rows);
/* Rows of the page not yet screened into *rows. */
KORVEL_CONTEXT_API korvel_status korvel_stream_rows_left(const korvel_stream* stream, int* rows);
/* Frees the stream (also before its last row). A null stream is ignored. */
KORVEL_CONTEXT_API void korvel_stream_destroy(korvel_stream* stream);

/* ---- Threshold masks ---------------------------------------------------------------------- */

/* Load a stored threshold mask (the format of IDitherMaskGenerator::LoadMask in korvel.h) into
 * the context, replacing the one it held, and reset the context's level table as that load
 * does. A mask the loader refuses leaves the context as it was (KORVEL_ERROR_MASK). */
KORVEL_CONTEXT_API korvel_status korvel_mask_load(korvel_context* context,
                                                  const unsigned char* mask, size_t length);
/* Screen an 8-bit image against plane `plane` of the context's mask into bits = 1 or 2 bits per
 * pixel, tiling the mask from (x_offset, y_offset) with steps x_step, y_step >= 0, exactly as
 * IDitherMaskGenerator::Dither with dstStride = output_stride: all output_stride bytes of every
 * output row are written. A plane outside the mask's planes is KORVEL_ERROR_ARGUMENT. */
KORVEL_CONTEXT_API korvel_status korvel_mask_dither(korvel_context* context,
                                                    const unsigned char* source,
                                                    size_t source_stride, unsigned char* output,
                                                    size_t output_stride, int width, int height,
                                                    int plane, int x_offset, int y_offset,
                                                    int x_step, int y_step, int bits);
/* Free the context's mask, if any. */
KORVEL_CONTEXT_API korvel_status korvel_mask_release(korvel_context* context);

#ifdef __cplusplus
}
#endif

#endif /* KORVEL_KORVEL_CONTEXT_H */
