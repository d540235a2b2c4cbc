// Random pages for the context's screens that stream: the caller's image through an image
// screen, or through one of korvel's own screens; their whole-page call and their stream.
#ifndef KORVEL_TESTS_CONTEXT_RANDOM_PAGE_H
#define KORVEL_TESTS_CONTEXT_RANDOM_PAGE_H

#include <korvel/korvel_context.h>

#include <string>

#include "support/context.h"
#include "support/raster.h"

namespace test {

// Tone curve points in percent of a context's own curve.
inline constexpr int kOwnCurve[] = {0, 35, 52, 90, 100};

// A context at quality level 0, with the tone curve kOwnCurve or none.
inline Context NewCurveContext(bool ownCurve) {
  Context context = NewContext(0);
  if (ownCurve) korvel_context_set_tone_curve(context.get(), kOwnCurve, 5);
  return context;
}

// Options of an own screen at `bits` with the drop inks given.
inline korvel_screen_options OwnOptions(korvel_screen screen, int bits, double small = 1.0 / 3,
                                        double medium = 2.0 / 3) {
  korvel_screen_options options;
  korvel_screen_options_init(&options, screen, bits);
  options.small_drop_ink = small;
  options.medium_drop_ink = medium;
  return options;
}

// A page, its screen and strides, and an image with random bytes past each row's pixels.
struct Page {
  bool own;                      // through one of korvel's own screens, else an image screen
  korvel_screen_options screen;  // the own screen's options
  korvel_image_options image;    // the image screen's options
  int bits;
  int width, height;
  size_t sourceStride, outputStride;
  Bytes pixels;

  std::string Describe() const {
    const std::string how =
        own ? std::string(screen.screen == KORVEL_SCREEN_FINE ? "fine" : "best") + ", inks " +
                  std::to_string(screen.small_drop_ink) + "/" +
                  std::to_string(screen.medium_drop_ink)
            : "type " + std::to_string(image.template_type) +
                  (image.use_template_diffusion ? " (template diffusion)" : "") + ", cells " +
                  std::to_string(image.cell_width) + "x" + std::to_string(image.cell_height) +
                  " mode " + std::to_string(image.dot_mode);
    return how + ", " + std::to_string(bits) + " bits, " + std::to_string(width) + "x" +
           std::to_string(height) + ", strides " + std::to_string(sourceStride) + "/" +
           std::to_string(outputStride);
  }
  korvel_status ScreenWhole(korvel_context* context, unsigned char* out) const {
    if (own)
      return korvel_context_screen(context, &screen, pixels.data(), sourceStride, out, outputStride,
                                   width, height);
    return korvel_context_screen_image(context, bits, &image, pixels.data(), sourceStride, out,
                                       outputStride, width, height);
  }
  korvel_status BeginStream(korvel_context* context, korvel_stream** stream) const {
    if (own) return korvel_context_begin_screen_stream(context, &screen, width, height, stream);
    return korvel_context_begin_stream(context, bits, &image, width, height, stream);
  }
};

inline void RandomSizes(Random& random, Page& page, int tallest) {
  page.width = random.Below(3) == 0 ? 1 + random.Below(7) : 8 + random.Below(120);
  page.height = 1 + random.Below(tallest);
  page.sourceStride = SomeStride(random, page.width, 8);
  page.outputStride = SomeStride(random, page.width, page.bits);
  page.pixels = RandomSceneAtStride(random, page.width, page.height, page.sourceStride);
}

// The caller's image at 1 or 2 bits through a screen that streams, on any cells and dot mode.
inline Page RandomImagePage(Random& random) {
  const int types[] = {34, 39, 40, 41, 42};
  Page page{};
  page.bits = 1 + random.Below(2);
  page.image = {types[random.Below(5)], 1 + random.Below(3), 1 + random.Below(4),
                random.Below(5) == 0 ? random.Below(4) : 0, random.Below(3) == 0};
  RandomSizes(random, page, 150);
  return page;
}

// An own screen at 1 or 2 bits with random drop inks.
inline Page RandomOwnPage(Random& random) {
  Page page{};
  page.own = true;
  const double small = 0.05 + 0.4 * random.Below(1000) / 1000.0;
  const double medium = small + 0.05 + (0.9 - small) * random.Below(1000) / 1000.0;
  page.bits = 1 + random.Below(2);
  page.screen = OwnOptions(random.Below(2) == 0 ? KORVEL_SCREEN_FINE : KORVEL_SCREEN_BEST,
                           page.bits, small, medium);
  RandomSizes(random, page, 60);
  return page;
}

}  // namespace test

#endif
