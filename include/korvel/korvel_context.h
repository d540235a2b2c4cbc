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
 * Names
 *   Every call is korvel_<object>_<verb>, and its object comes first among the arguments (a
 *   korvel_context, a korvel_stream, a korvel_screen_options or a quality level); where a call
 *   takes a bit depth, bits follows the object (korvel_screen_options_init names the screen
 *   before its depth). The enumerations are korvel_status, korvel_template_type, korvel_screen
 *   and korvel_folder_origin, their constants KORVEL_<WORD>.
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
 *   no output byte and no setting of the context changes. The one status that reports without
 *   refusing is KORVEL_ERROR_PARAMETER_FILE from the three settings calls that choose the
 *   parameter file (see "Parameter files are checked when they are chosen" below). Running out of
 * memory is reported as KORVEL_ERROR_NO_MEMORY (no C++ exception leaves these functions).
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

#include "korvel_version.h"

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
  KORVEL_ERROR_PARAMETER_FILE = 14, /* the quality level's parameter file is missing or unusable */
  KORVEL_ERROR_STREAM_DELAY =
      15 /* korvel_stream_screen_rows on a stream that gives rows back later */
} korvel_status;

/* The version of the library at run time, as KORVEL_VERSION_NUMBER gives it at build time: a
 * host built against 1.1 runs on any 1.x with x >= 1. */
KORVEL_CONTEXT_API unsigned korvel_version(void);

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

/* Parameter files are checked when they are chosen. The calls that choose which file curve a
 * context reads (korvel_context_set_quality, korvel_context_set_parameter_folder and
 * korvel_context_set_tone_curve) check the file their new setting reads, as
 * korvel_context_check_parameters does, and return KORVEL_ERROR_PARAMETER_FILE when it is missing
 * or unusable. That status from these three calls reports, it does not refuse: the setting is made.
 * A folder and a level are chosen one after the other in either order, and the file may be put in
 * place after both; refusing the first of them would leave the context at a setting the host did
 * not ask for, and screening from it would print something other than what was asked, quietly. So
 * the setting stands and the host acts on the status: it stops before screening, or changes the
 * folder, level or own curve and is told again. A host that sets its own curve first, then the
 * folder, then the level hears about the file once, at the last call. The image calls still read
 * the file afresh at every call, as the KORVEL_* calls do: a file changed after set-up is what they
 * read, and a file still missing screens with a curve of zeros (a blank page), as those calls
 * do, since a context call gives the bytes of its KORVEL_* counterpart in the same state;
 * korvel_context_check_parameters asks again at any time. */

/* As KORVEL_Init: buckets the level (0 and -1 kept, otherwise 10, 20, ..., 100; see
 * korvel_quality_describe), which numbers the parameter file QntPassParam_<level>.ini, and resets
 * the level-to-amount table to the linear default. KORVEL_ERROR_PARAMETER_FILE, with the level set,
 * when the level reads its curve from a file that is missing or unusable (above). */
KORVEL_CONTEXT_API korvel_status korvel_context_set_quality(korvel_context* context, int level);
/* The bucketed quality level into *level. */
KORVEL_CONTEXT_API korvel_status korvel_context_get_quality(const korvel_context* context,
                                                            int* level);

/* The folder that holds the QntPassParam_<level>.ini files of this context. Null or "" goes
 * back to the lookup of the KORVEL_* calls (KORVEL_DATA_DIR, else <exe dir>/Data). A folder whose
 * file paths would exceed 255 characters is refused (KORVEL_ERROR_FOLDER, nothing changes).
 * KORVEL_ERROR_PARAMETER_FILE, with the folder set, when the context's level reads its curve
 * from a file the folder lacks or holds unusable (above). The files are read at every image
 * call. */
KORVEL_CONTEXT_API korvel_status korvel_context_set_parameter_folder(korvel_context* context,
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
 * template type 38 is still read from the parameter file of the quality level. Dropping the
 * curve returns KORVEL_ERROR_PARAMETER_FILE, with the curve dropped, when the level then reads
 * its curve from a file that is missing or unusable (above); setting one returns KORVEL_OK. */
KORVEL_CONTEXT_API korvel_status korvel_context_set_tone_curve(korvel_context* context,
                                                               const int* points, int count);

/* ---- What a quality level and a parameter folder are -------------------------------------- */

/* For a host that offers the quality levels and names the parameter files without restating
 * the library's rules (a command line, a print dialog, an info page). KORVEL_QUALITY_MIN and
 * KORVEL_QUALITY_MAX bound the levels a host offers; korvel_context_set_quality takes any int
 * and buckets it into that range. KORVEL_DATA_DIR_VARIABLE is the environment variable that
 * names the parameter folder of a context without a folder of its own. The facts grow at the
 * end in later versions: a caller sets size to its sizeof of the structure before the call,
 * and a size the library does not know is refused (KORVEL_ERROR_ARGUMENT). */
#define KORVEL_QUALITY_MIN (-1)
#define KORVEL_QUALITY_MAX 100
#define KORVEL_DATA_DIR_VARIABLE "KORVEL_DATA_DIR"

typedef struct korvel_quality_facts {
  size_t size;          /* sizeof(korvel_quality_facts), set by the caller */
  int level;            /* the level as korvel_context_set_quality stores it (bucketed) */
  int reads_file_curve; /* 1: the level's tone curve comes from its parameter file, unless the
                           context has a curve of its own; 0: the level has a built-in curve
                           (the identity at 0, a fixed five-knot curve at -1) */
  char file_name[32];   /* the name (not the path) of the level's parameter file in the
                           parameter folder; the compensation ramp of template type 38 reads it
                           at every level, 0 and -1 too */
} korvel_quality_facts;

/* The facts of a quality level as korvel_context_set_quality would set it. Refused: a null
 * facts (KORVEL_ERROR_NULL_BUFFER); an unknown facts size (KORVEL_ERROR_ARGUMENT). */
KORVEL_CONTEXT_API korvel_status korvel_quality_describe(int level, korvel_quality_facts* facts);

/* Why the context's parameter folder is the one it is. */
typedef enum korvel_folder_origin {
  KORVEL_FOLDER_OWN = 1,           /* set by korvel_context_set_parameter_folder */
  KORVEL_FOLDER_DATA_DIR = 2,      /* named by the KORVEL_DATA_DIR_VARIABLE environment variable */
  KORVEL_FOLDER_BESIDE_PROGRAM = 3 /* the folder Data beside the running program */
} korvel_folder_origin;

typedef struct korvel_folder_facts {
  size_t size;                 /* sizeof(korvel_folder_facts), set by the caller */
  korvel_folder_origin origin; /* where the folder comes from */
  char folder[256];            /* the folder, without a trailing '/'; "" when the running
                                  program's folder cannot be told (no file is found then) or the
                                  folder is longer than 255 characters */
} korvel_folder_facts;

/* The folder the context's image calls look in for their parameter files now (the environment
 * is read at the call, as those calls read it), and why that one. The path of a level's file is
 * folder/file_name; a path above 255 characters is read as a missing file, and
 * korvel_context_check_parameters gives the path of the context's level. Refused: a null
 * context (KORVEL_ERROR_NULL_CONTEXT); a null facts (KORVEL_ERROR_NULL_BUFFER); an unknown facts
 * size (KORVEL_ERROR_ARGUMENT). */
KORVEL_CONTEXT_API korvel_status korvel_context_describe_folder(const korvel_context* context,
                                                                korvel_folder_facts* facts);

/* ---- Uniform-level templates and splits --------------------------------------------------- */

/* As KORVEL_GetTempateData_1Bit/_2Bit/_4Bit with bits = 1, 2 or 4: a template of one ink
 * level (percent 0..100) at the context's level table. */
KORVEL_CONTEXT_API korvel_status korvel_context_template(korvel_context* context, int bits,
                                                         int level, unsigned char* out,
                                                         size_t out_stride, int width, int height);

/* As KORVEL_GetTempateData_2Bit_1to2/_1to3/_1to4 with plane_count = 2, 3 or 4: planes[0..n-1]
 * are 2-bit planes of the same stride. */
KORVEL_CONTEXT_API korvel_status korvel_context_split(korvel_context* context, int plane_count,
                                                      unsigned char* const* planes, size_t stride,
                                                      int width, int height);

/* ---- Image halftoning --------------------------------------------------------------------- */

/* The template types of korvel_image_options, by name (the numbers are those of korvel.h).
 * Types 10, 12 to 33, 35 and 37, and every value outside 0..KORVEL_TEMPLATE_TYPE_MAX, act as
 * KORVEL_TYPE_RAMP. KORVEL_DOT_MODE_MAX is the highest dot_mode; modes above it screen as it
 * does (korvel_image_options_describe tells how far each screen enlarges). */
#define KORVEL_TEMPLATE_TYPE_MAX 42
#define KORVEL_DOT_MODE_MAX 3

typedef enum korvel_template_type {
  KORVEL_TYPE_RAMP = 0,                /* vertical grey ramp */
  KORVEL_TYPE_RAMP_TILES_WIDE = 1,     /* ramp tiles, a tenth of the width each */
  KORVEL_TYPE_MID_GREY = 2,            /* uniform mid grey (127) */
  KORVEL_TYPE_RAMP_TILES_NARROW = 3,   /* ramp tiles, a fiftieth of the width each */
  KORVEL_TYPE_BARS_ON_RAMP = 4,        /* bars of random height on a ramp */
  KORVEL_TYPE_RAMP_RISING_LINES = 5,   /* ramp with soft lines at +5 degrees */
  KORVEL_TYPE_RAMP_FALLING_LINES = 6,  /* ramp with soft lines at -5 degrees */
  KORVEL_TYPE_TILES_RISING_LINES = 7,  /* wide ramp tiles with soft lines at +5 degrees */
  KORVEL_TYPE_BARS_MINUS_WAVE = 8,     /* bars shifted by a wave, one way */
  KORVEL_TYPE_BARS_PLUS_WAVE = 9,      /* bars shifted by a wave, the other way */
  KORVEL_TYPE_RAMP_BENT_CURVE = 11,    /* the ramp, through the bent built-in curve */
  KORVEL_TYPE_IMAGE = 34,              /* the caller's image, error-diffused */
  KORVEL_TYPE_RAMP_EXTRA_ROW = 36,     /* the ramp over height + 1 rows, the first dropped */
  KORVEL_TYPE_COMPENSATION_RAMP = 38,  /* the ramp of the compensation profile */
  KORVEL_TYPE_SMALL_DROPS = 39,        /* the image in small drops only (2 bits) */
  KORVEL_TYPE_SMALL_MEDIUM_DROPS = 40, /* the image in small and medium drops (2 bits) */
  KORVEL_TYPE_THREE_DROPS = 41,        /* the image in small, medium and large drops (2 bits) */
  KORVEL_TYPE_MATRIX = 42              /* the image (or the ramp) on the 257 x 257 matrix */
} korvel_template_type;

typedef struct korvel_image_options {
  int template_type;          /* a korvel_template_type; KORVEL_TYPE_IMAGE screens the image */
  int cell_width;             /* horizontal cell factor, >= 1 */
  int cell_height;            /* vertical cell factor, >= 1 */
  int dot_mode;               /* 0..KORVEL_DOT_MODE_MAX: cells enlarged 1, 2, 4 or 8 times */
  int use_template_diffusion; /* non-zero: screen with the template diffusion */
} korvel_image_options;

/* As KORVEL_GetImageTempateData_1Bit (bits = 1) or _2Bit (bits = 2). source may be null for
 * the template types that do not read it (every type but 34, 39, 40, 41; 42 reads it when
 * given). Installs the type's tone curve into the context and seeds the context's own pattern
 * generator (0 for 1 bit, 2000 for 2 bits) as the KORVEL_* calls seed rand(). */
KORVEL_CONTEXT_API korvel_status
korvel_context_screen_image(korvel_context* context, int bits, const korvel_image_options* options,
                            const unsigned char* source, size_t source_stride,
                            unsigned char* output, size_t output_stride, int width, int height);

/* As KORVEL_GetImageTempateData_4Bit: an 8-bit image to 4 bits per pixel with the template
 * diffusion at the context's level table. */
KORVEL_CONTEXT_API korvel_status korvel_context_screen_image_4bit(
    korvel_context* context, const unsigned char* source, size_t source_stride,
    unsigned char* output, size_t output_stride, int width, int height);

/* ---- Row-band streaming of the image screens ---------------------------------------------- */

/* A page screened in bands: the host feeds the page's rows top to bottom in bands of any number
 * of rows and receives the same number of screened rows for each band, equal byte for byte to
 * the whole-page korvel_context_screen_image call with the same options, strides and source. The
 * stream keeps a few rows (two rows of cells and one screened row), never the page.
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

KORVEL_CONTEXT_API korvel_status korvel_context_begin_stream(korvel_context* context, int bits,
                                                             const korvel_image_options* options,
                                                             int width, int height,
                                                             korvel_stream** out);
/* Screen the next `rows` rows of the page (source rows source_stride bytes apart) into `rows`
 * output rows. Refused with KORVEL_ERROR_STREAM_END, writing nothing, when the band reaches past
 * the page's height, and with KORVEL_ERROR_STREAM_DELAY on a stream whose delay is above 0
 * (korvel_stream_feed screens those). rows == 0 is allowed and does nothing. */
KORVEL_CONTEXT_API korvel_status korvel_stream_screen_rows(korvel_stream* stream,
                                                           const unsigned char* source,
                                                           size_t source_stride,
                                                           unsigned char* output,
                                                           size_t output_stride, int rows);
/* Rows of the page not yet fed into *rows. */
KORVEL_CONTEXT_API korvel_status korvel_stream_get_rows_left(const korvel_stream* stream,
                                                             int* rows);
/* Frees the stream (also before its last row). A null stream is ignored. */
KORVEL_CONTEXT_API void korvel_stream_destroy(korvel_stream* stream);

/* ---- korvel's own screens ----------------------------------------------------------------- */

/* Two screens of korvel's own for the caller's image, beside the template types:
 *   KORVEL_SCREEN_FINE  an error diffusion that is better than the textbook Floyd-Steinberg at
 *                       nearly its speed;
 *   KORVEL_SCREEN_BEST  a search that lays the drops so that the eye-filtered difference from
 *                       the image is least, started from fine; slower.
 * At bits = 1 they lay one drop; at bits = 2 small, medium and large drops, whose inks relative
 * to the large drop are small_drop_ink and medium_drop_ink (0 < small < medium < 1, taken in
 * steps of 1/2550; inks that fall on the same step, on 0 or on 1 are refused). The inks are
 * read at both depths and must be valid at both, though only 2 bits lays them.
 *
 * Tone: each pixel's grey g (255 paper white) becomes the ink amount toneCurve[(255 - g) * 10]
 * clamped into 0..2550, with the tone curve the error-diffusion screen of template type 34
 * uses in korvel_context_screen_image: the context's own curve if it has one, otherwise the curve
 * of its quality level (the identity at level 0, the level's parameter file above). Like that call,
 * screening installs that curve into the context (and its level table, read by later template
 * calls).
 *
 * Output: packed as korvel_context_screen_image packs, most significant pixel first. At 1 bit a set
 * bit is a drop; at 2 bits each pixel's code is 0 no drop, 1 small, 2 medium, 3 large, the
 * codes template type 41 writes for its drops. Each output row receives min(stride, packed
 * stride) bytes, packed stride = ((width * bits + 31) >> 5) * 4; pixels past the width and
 * the bytes after them are 0. A source row is read up to its width bytes.
 *
 * The options grow at the end in later versions: a caller fills them with
 * korvel_screen_options_init, which sets size to the size the caller was built with, and then
 * changes what it needs; a size the library does not know is refused (KORVEL_ERROR_ARGUMENT). */
typedef enum korvel_screen { KORVEL_SCREEN_FINE = 1, KORVEL_SCREEN_BEST = 2 } korvel_screen;

typedef struct korvel_screen_options {
  size_t size;            /* sizeof(korvel_screen_options), set by korvel_screen_options_init */
  korvel_screen screen;   /* KORVEL_SCREEN_FINE or KORVEL_SCREEN_BEST */
  int bits;               /* 1 or 2 bits per output pixel */
  double small_drop_ink;  /* ink of a small drop relative to a large one; default 1/3 */
  double medium_drop_ink; /* ink of a medium drop relative to a large one; default 2/3 */
} korvel_screen_options;

/* The defaults of a screen at a depth: size = sizeof(korvel_screen_options), the screen, the
 * bits and the drop inks 1/3 and 2/3. Nothing is checked here (the screening calls refuse what
 * they cannot honour); a null options is ignored. */
#define korvel_screen_options_init(options, screen, bits) \
  korvel_screen_options_init_sized((options), sizeof(korvel_screen_options), (screen), (bits))
/* What korvel_screen_options_init calls: `size` is the caller's sizeof(korvel_screen_options).
 * Stores size and fills the fields that lie within it; a caller built against a larger
 * structure than the library knows keeps its later fields, and its size is refused when it
 * screens. */
KORVEL_CONTEXT_API void korvel_screen_options_init_sized(korvel_screen_options* options,
                                                         size_t size, korvel_screen screen,
                                                         int bits);

/* Screen a width x height 8-bit image into the output with the screen of the options. Refused,
 * writing nothing: a null context (KORVEL_ERROR_NULL_CONTEXT); null options, source or output
 * (KORVEL_ERROR_NULL_BUFFER); an unknown options size or screen, bits other than 1 or 2, or
 * drop inks outside 0 < small < medium < 1 (KORVEL_ERROR_ARGUMENT); a width or height below 1
 * or a page of width x height bytes above INT_MAX (KORVEL_ERROR_SIZE); a stride below the
 * bytes a row needs (KORVEL_ERROR_STRIDE). Equal calls give equal bytes, on any thread. */
KORVEL_CONTEXT_API korvel_status korvel_context_screen(korvel_context* context,
                                                       const korvel_screen_options* options,
                                                       const unsigned char* source,
                                                       size_t source_stride, unsigned char* output,
                                                       size_t output_stride, int width, int height);

/* The same page as a stream fed in bands of any height (korvel_stream_feed), equal byte for
 * byte to korvel_context_screen. The screen may give a row back only after some rows below it
 * have been fed (korvel_stream_get_delay); it holds those rows and never the page. Beginning
 * installs the tone curve as korvel_context_screen does; the stream keeps what it reads, so
 * the context is free again at once. Refused as korvel_context_screen refuses, a null out
 * being KORVEL_ERROR_NULL_BUFFER; *out is set to the new stream, or to null when refused. */
KORVEL_CONTEXT_API korvel_status
korvel_context_begin_screen_stream(korvel_context* context, const korvel_screen_options* options,
                                   int width, int height, korvel_stream** out);

/* How many rows the stream's output lags its input into *rows: output row r is finished once
 * source row r + *rows has been fed, or once the page's last row has. 0 for the streams of
 * korvel_context_begin_stream, and the same for the whole life of a stream. */
KORVEL_CONTEXT_API korvel_status korvel_stream_get_delay(const korvel_stream* stream, int* rows);

/* Feed the next `rows` source rows (source_stride bytes apart) and write the output rows this
 * finishes, in page order from the first row not yet written, output_stride bytes apart from
 * `output`; their count goes to *rows_written. That is at most rows + delay rows (the output
 * holds room for that many), exactly `rows` on a stream of delay 0, and the feed that takes the
 * page's last row writes every row still missing. Works on every stream. Refused, writing
 * nothing (*rows_written included): a null stream (KORVEL_ERROR_NULL_CONTEXT), rows below 0
 * (KORVEL_ERROR_SIZE), a band past the page's last row (KORVEL_ERROR_STREAM_END), a null
 * rows_written, or a null source or output when rows > 0 (KORVEL_ERROR_NULL_BUFFER), a stride
 * below a row (KORVEL_ERROR_STRIDE). rows == 0 writes no row and sets *rows_written to 0. */
KORVEL_CONTEXT_API korvel_status korvel_stream_feed(korvel_stream* stream,
                                                    const unsigned char* source,
                                                    size_t source_stride, int rows,
                                                    unsigned char* output, size_t output_stride,
                                                    int* rows_written);

/* ---- What a screen reads ------------------------------------------------------------------ */

/* What a screen does with the context's settings, for a host that offers only the choices
 * that act (a print dialog, a command line) and refuses the others. The facts grow at the end
 * in later versions: a caller sets size to its sizeof(korvel_screen_facts) before the call, and
 * a size the library does not know is refused (KORVEL_ERROR_ARGUMENT). */
typedef struct korvel_screen_facts {
  size_t size;          /* sizeof(korvel_screen_facts), set by the caller */
  int reads_tone_curve; /* 1: the quality level and a tone curve of the context's own change
                           its output; 0: it screens the same at every level and curve */
  int reads_file_ramp;  /* 1: its pattern (the compensation ramp of template type 38) comes
                           from the quality level's parameter file, at every level, 0 or -1 too */
  int streams; /* 1: korvel_context_begin_stream (or korvel_context_begin_screen_stream) takes it */
  int highest_dot_mode; /* the highest dot_mode that enlarges further (modes above it screen
                           as it does); -1 when no cell factor or dot mode changes its output
                           (it screens pixel by pixel, or, as type 39 at 1 bit, whose small
                           drops 1 bit cannot hold, lays no dot) */
} korvel_screen_facts;

/* The facts of a template-type screen at bits = 1 or 2 (korvel_context_screen_image, or
 * korvel_context_begin_stream), or of the 4-bit image path at bits = 4
 * (korvel_context_screen_image_4bit, whose options are not read). The options' template_type and
 * use_template_diffusion choose the screen; the cell factors and dot mode are not checked. Refused:
 * a null options or facts (KORVEL_ERROR_NULL_BUFFER); other bits or an unknown facts size
 * (KORVEL_ERROR_ARGUMENT). */
KORVEL_CONTEXT_API korvel_status korvel_image_options_describe(const korvel_image_options* options,
                                                               int bits,
                                                               korvel_screen_facts* facts);

/* The facts of one of korvel's own screens with these options (korvel_context_screen).
 * Refused: a null options or facts (KORVEL_ERROR_NULL_BUFFER); options the screening calls
 * refuse, or an unknown facts size (KORVEL_ERROR_ARGUMENT). */
KORVEL_CONTEXT_API korvel_status
korvel_screen_options_describe(const korvel_screen_options* options, korvel_screen_facts* facts);

/* ---- Threshold masks ---------------------------------------------------------------------- */

/* Load a stored threshold mask (the format of IDitherMaskGenerator::LoadMask in korvel.h) into
 * the context, replacing the one it held, and reset the context's level table as that load
 * does. A mask the loader refuses leaves the context as it was (KORVEL_ERROR_MASK). */
KORVEL_CONTEXT_API korvel_status korvel_context_load_mask(korvel_context* context,
                                                          const unsigned char* mask, size_t length);
/* Screen an 8-bit image against plane `plane` of the context's mask into bits = 1 or 2 bits per
 * pixel, tiling the mask from (x_offset, y_offset) with steps x_step, y_step >= 0, exactly as
 * IDitherMaskGenerator::Dither with dstStride = output_stride: all output_stride bytes of every
 * output row are written. A plane outside the mask's planes is KORVEL_ERROR_ARGUMENT. */
KORVEL_CONTEXT_API korvel_status korvel_context_dither_mask(
    korvel_context* context, int bits, const unsigned char* source, size_t source_stride,
    unsigned char* output, size_t output_stride, int width, int height, int plane, int x_offset,
    int y_offset, int x_step, int y_step);
/* Free the context's mask, if any. */
KORVEL_CONTEXT_API korvel_status korvel_context_release_mask(korvel_context* context);

#ifdef __cplusplus
}
#endif

#endif /* KORVEL_KORVEL_CONTEXT_H */
