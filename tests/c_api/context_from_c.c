/* A C host of the context interface: a full template, an image screened, and a refusal with
 * its message. Exits non-zero on the first surprise. */
#include <korvel/korvel_context.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define W 70
#define H 33
#define STRIDE1 12 /* ((70 + 31) >> 3) & ~3 */
#define STRIDE8 72

static int Fail(const char* what) {
  fprintf(stderr, "context from C: %s\n", what);
  return 1;
}

int main(void) {
  korvel_context* context = NULL;
  korvel_image_options options = {34, 1, 1, 0, 0};
  static unsigned char image[STRIDE8 * H], whole[STRIDE1 * H];
  int x, y;

  if (korvel_context_create(&context) != KORVEL_OK) return Fail("create");
  if (korvel_set_quality(context, 0) != KORVEL_OK) return Fail("quality");
  if (korvel_template(context, 1, 100, whole, STRIDE1, W, H) != KORVEL_OK) return Fail("template");
  for (x = 0; x < W; ++x)
    if (!(whole[x / 8] & (0x80 >> (x % 8)))) return Fail("a full template misses a dot");

  for (y = 0; y < H; ++y)
    for (x = 0; x < STRIDE8; ++x) image[y * STRIDE8 + x] = (unsigned char)(x * 3 + y);
  if (korvel_screen_image(context, 1, &options, image, STRIDE8, whole, STRIDE1, W, H) != KORVEL_OK)
    return Fail("screen");
  if (korvel_template(context, 1, 101, whole, STRIDE1, W, H) != KORVEL_ERROR_LEVEL)
    return Fail("level 101 accepted");
  if (strlen(korvel_strerror(KORVEL_ERROR_LEVEL)) == 0) return Fail("empty message");
  korvel_context_destroy(context);
  return 0;
}
