/* Screen an 8-bit grey page into small, medium and large drops with korvel's fine screen. */
#include <korvel/korvel_context.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  enum { width = 600, height = 400 };
  size_t out_stride = (width * 2 + 7) / 8; /* 2 bits a pixel */
  unsigned char* grey = malloc((size_t)width * height);
  unsigned char* dots = malloc(out_stride * height);
  korvel_context* context = NULL;
  korvel_screen_options options;
  korvel_status status;
  int x, y;
  for (y = 0; y < height; ++y) /* a left-to-right ramp, 255 = paper */
    for (x = 0; x < width; ++x) grey[(size_t)y * width + x] = (unsigned char)(255 * x / width);
  korvel_screen_options_init(&options, KORVEL_SCREEN_FINE, 2);
  status = korvel_context_create(&context);
  if (status == KORVEL_OK) status = korvel_context_set_quality(context, 0); /* identity curve */
  if (status == KORVEL_OK)
    status = korvel_context_screen(context, &options, grey, width, dots, out_stride, width, height);
  if (status != KORVEL_OK)
    fprintf(stderr, "korvel: %s\n", korvel_strerror(status));
  else
    printf("screened %dx%d, first byte %02x, korvel %u\n", width, height, dots[0],
           korvel_version());
  korvel_context_destroy(context);
  free(grey);
  free(dots);
  return status == KORVEL_OK ? 0 : 1;
}
