/* The context interface from C: the library's version is the headers', a full 1-bit template
 * has every dot, a refused level comes back with its code and a message, the image screens are
 * named by constant, and korvel's own screens lay a large drop at every pixel of a black page,
 * whole and fed as a stream. Exits non-zero on the first surprise. */
#include <korvel/korvel_context.h>

#include <stdio.h>
#include <string.h>

/* A black 70 x 5 page at 2 bits: every pixel the large drop, code 3. */
static int ownScreensOfBlack(korvel_context* context) {
  unsigned char black[72 * 5], out[20 * 5];
  korvel_screen_options options;
  korvel_stream* stream = NULL;
  int delay = -1, written = -1, i;
  memset(black, 0, sizeof black);
  korvel_screen_options_init(&options, KORVEL_SCREEN_FINE, 2);
  options.medium_drop_ink = 0.75;
  if (korvel_context_screen(context, &options, black, 72, out, 20, 70, 5) != KORVEL_OK)
    return fprintf(stderr, "the fine screen refused a black page\n"), 1;
  for (i = 0; i < 70; ++i)
    if (((out[i / 4] >> (6 - 2 * (i % 4))) & 3) != 3)
      return fprintf(stderr, "pixel %d of fine is not a large drop\n", i), 1;
  options.screen = KORVEL_SCREEN_BEST;
  memset(out, 0, sizeof out);
  if (korvel_context_begin_screen_stream(context, &options, 70, 5, &stream) != KORVEL_OK ||
      korvel_stream_get_delay(stream, &delay) != KORVEL_OK ||
      korvel_stream_feed(stream, black, 72, 5, out, 20, &written) != KORVEL_OK || written != 5)
    return fprintf(stderr, "the best screen's stream failed\n"), 1;
  if (out[4 * 20] != 0xFF) return fprintf(stderr, "the streamed best page has no large drops\n"), 1;
  if (strlen(korvel_strerror(KORVEL_ERROR_STREAM_DELAY)) == 0)
    return fprintf(stderr, "the delay refusal has no message\n"), 1;
  korvel_stream_destroy(stream);
  return 0;
}

int main(void) {
  korvel_context* context = NULL;
  unsigned char out[12 * 5]; /* 70 x 5 pixels at 1 bit, rows of 12 bytes */
  int x;
  if (korvel_version() != KORVEL_VERSION_NUMBER ||
      KORVEL_VERSION_NUMBER !=
          KORVEL_VERSION_MAJOR * 10000 + KORVEL_VERSION_MINOR * 100 + KORVEL_VERSION_PATCH)
    return fprintf(stderr, "library %u, headers %d\n", korvel_version(), KORVEL_VERSION_NUMBER), 1;
  if (korvel_context_create(&context) != KORVEL_OK ||
      korvel_context_template(context, 1, 100, out, 12, 70, 5) != KORVEL_OK)
    return fprintf(stderr, "a full template was refused\n"), 1;
  for (x = 0; x < 70; ++x)
    if (!(out[x / 8] & (0x80 >> (x % 8)))) return fprintf(stderr, "pixel %d has no dot\n", x), 1;
  if (korvel_context_template(context, 1, 101, out, 12, 70, 5) != KORVEL_ERROR_LEVEL ||
      strlen(korvel_strerror(KORVEL_ERROR_LEVEL)) == 0)
    return fprintf(stderr, "level 101 was not refused with its code\n"), 1;
  {
    /* The screens of the caller's image, named by constant, on a 20 x 4 grey page. */
    const korvel_template_type types[] = {KORVEL_TYPE_IMAGE, KORVEL_TYPE_SMALL_DROPS,
                                          KORVEL_TYPE_SMALL_MEDIUM_DROPS, KORVEL_TYPE_THREE_DROPS,
                                          KORVEL_TYPE_MATRIX};
    unsigned char grey[20 * 4];
    unsigned char screened[8 * 4];
    size_t t;
    memset(grey, 128, sizeof grey);
    for (t = 0; t < sizeof types / sizeof types[0]; ++t) {
      korvel_image_options options = {0, 1, 1, 0, 0};
      options.template_type = types[t];
      if (korvel_context_screen_image(context, 2, &options, grey, 20, screened, 8, 20, 4) !=
          KORVEL_OK)
        return fprintf(stderr, "template type %d was refused\n", (int)types[t]), 1;
    }
  }
  if (ownScreensOfBlack(context) != 0) return 1;
  {
    /* The facts of a level and of the folder, in C structures sized by the caller. */
    korvel_quality_facts level;
    korvel_folder_facts folder;
    level.size = sizeof level;
    folder.size = sizeof folder;
    if (korvel_quality_describe(KORVEL_QUALITY_MAX - 3, &level) != KORVEL_OK ||
        level.level != KORVEL_QUALITY_MAX || !level.reads_file_curve ||
        korvel_context_set_parameter_folder(context, "/opt/inks") != KORVEL_OK ||
        korvel_context_describe_folder(context, &folder) != KORVEL_OK ||
        folder.origin != KORVEL_FOLDER_OWN || strcmp(folder.folder, "/opt/inks") != 0)
      return fprintf(stderr, "the facts of level %d or its folder are wrong\n", level.level), 1;
  }
  korvel_context_destroy(context);
  return 0;
}
