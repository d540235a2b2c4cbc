// Bad input is refused with a code and a message and writes nothing; a page fed in bands of
// any height gives the bytes of the whole-page call.
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "context/context_support.h"

namespace {

using test::Bytes;
using test::Stride;

TEST(ContextRefusals, BadInputIsRefusedWithACodeAndWritesNothing) {
  test::Context owned = test::NewContext(50);
  korvel_context* c = owned.get();
  Bytes image = test::GreyImage(64, 64, 1), out(4096, 0xC3), planeB(4096, 0xC3);
  unsigned char* o = out.data();
  const unsigned char* in = image.data();
  unsigned char* planes[] = {o, planeB.data(), nullptr};
  const korvel_image_options ed = {34, 1, 1, 0, 0}, zeroCell = {34, 0, 1, 0, 0};
  const int tooHigh[] = {0, 50, 101}, negative[] = {-1, 50, 100}, two[] = {0, 100};
  korvel_stream* stream = nullptr;
  struct Case {
    const char* what;
    korvel_status expected;
    std::function<korvel_status()> call;
  };
  const Case cases[] = {
      {"null context", KORVEL_ERROR_NULL_CONTEXT,
       [&] { return korvel_template(nullptr, 1, 50, o, 8, 8, 8); }},
      {"null output", KORVEL_ERROR_NULL_BUFFER,
       [&] { return korvel_template(c, 2, 50, nullptr, 8, 8, 8); }},
      {"null source", KORVEL_ERROR_NULL_BUFFER,
       [&] { return korvel_screen_image(c, 1, &ed, nullptr, 64, o, 8, 8, 8); }},
      {"null plane", KORVEL_ERROR_NULL_BUFFER,
       [&] { return korvel_split(c, 3, planes, 16, 8, 8); }},
      {"zero width", KORVEL_ERROR_SIZE, [&] { return korvel_template(c, 1, 50, o, 8, 0, 8); }},
      {"zero cell", KORVEL_ERROR_SIZE,
       [&] { return korvel_screen_image(c, 1, &zeroCell, in, 64, o, 8, 8, 8); }},
      {"past 2 GiB", KORVEL_ERROR_SIZE,
       [&] { return korvel_screen_image(c, 2, &ed, in, 1 << 20, o, 1 << 20, 1 << 20, 4096); }},
      {"short output stride", KORVEL_ERROR_STRIDE,
       [&] { return korvel_template(c, 4, 50, o, 3, 8, 8); }},
      {"short source stride", KORVEL_ERROR_STRIDE,
       [&] { return korvel_screen_image(c, 1, &ed, in, 7, o, 8, 8, 8); }},
      {"level 101", KORVEL_ERROR_LEVEL, [&] { return korvel_template(c, 1, 101, o, 8, 8, 8); }},
      {"3 bits", KORVEL_ERROR_ARGUMENT, [&] { return korvel_template(c, 3, 50, o, 8, 8, 8); }},
      {"2 curve points", KORVEL_ERROR_TONE_CURVE, [&] { return korvel_set_tone_curve(c, two, 2); }},
      {"curve point 101", KORVEL_ERROR_TONE_CURVE,
       [&] { return korvel_set_tone_curve(c, tooHigh, 3); }},
      {"curve point -1", KORVEL_ERROR_TONE_CURVE,
       [&] { return korvel_set_tone_curve(c, negative, 3); }},
      {"long folder", KORVEL_ERROR_FOLDER,
       [&] { return korvel_set_parameter_folder(c, std::string(240, 'd').c_str()); }},
      {"no mask", KORVEL_ERROR_NO_MASK,
       [&] { return korvel_mask_dither(c, in, 8, o, 8, 8, 8, 0, 0, 0, 1, 1, 1); }},
      {"malformed mask", KORVEL_ERROR_MASK, [&] { return korvel_mask_load(c, in, 19); }},
      {"2-bit stream", KORVEL_ERROR_NOT_STREAMABLE,
       [&] { return korvel_stream_begin(c, 2, &ed, 8, 8, &stream); }},
      {"null stream", KORVEL_ERROR_NULL_CONTEXT,
       [&] { return korvel_stream_rows(nullptr, in, 8, o, 4, 1); }},
  };
  // The refusals must leave the context's settings alone too: a later screen is unchanged.
  Bytes before(Stride(64, 1) * 64);
  korvel_screen_image(c, 1, &ed, in, 64, before.data(), 8, 64, 64);
  for (const Case& k : cases) {
    EXPECT_EQ(k.call(), k.expected) << k.what;
    EXPECT_EQ(out, Bytes(out.size(), 0xC3)) << k.what;
    EXPECT_EQ(planeB, Bytes(planeB.size(), 0xC3)) << k.what;
    EXPECT_EQ(stream, nullptr) << k.what;
    EXPECT_STRNE(korvel_strerror(k.expected), korvel_strerror(korvel_status(99))) << k.what;
  }
  Bytes after(before.size());
  korvel_screen_image(c, 1, &ed, in, 64, after.data(), 8, 64, 64);
  EXPECT_EQ(after, before);
}

// The page through a stream in bands of `band` rows (the last band shorter).
Bytes Streamed(korvel_context* c, const korvel_image_options& o, const Bytes& page, int w, int h,
               int band) {
  korvel_stream* stream = nullptr;
  EXPECT_EQ(korvel_stream_begin(c, 1, &o, w, h, &stream), KORVEL_OK);
  Bytes out(Stride(w, 1) * h);
  for (int y = 0; y < h; y += band) {
    const int rows = std::min(band, h - y);
    EXPECT_EQ(korvel_stream_rows(stream, &page[Stride(w, 8) * y], Stride(w, 8),
                                 &out[Stride(w, 1) * y], Stride(w, 1), rows),
              KORVEL_OK);
  }
  int left = -1;
  korvel_stream_rows_left(stream, &left);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(korvel_stream_rows(stream, page.data(), Stride(w, 8), out.data(), 8, 1),
            KORVEL_ERROR_STREAM_END);
  korvel_stream_destroy(stream);
  return out;
}

TEST(ContextStream, BandsOfAnyHeightGiveTheWholePage) {
  const int w = 301, h = 150;
  const Bytes page = test::GreyImage(w, h, 11);
  const int curve[] = {0, 12, 40, 77, 100};
  test::Context context = test::NewContext(0);
  korvel_set_tone_curve(context.get(), curve, 5);
  for (const korvel_image_options& o :
       {korvel_image_options{34, 1, 1, 0, 0}, korvel_image_options{34, 3, 2, 1, 0},
        korvel_image_options{34, 1, 7, 2, 0}, korvel_image_options{34, 5, 3, 0, 0}}) {
    Bytes whole(Stride(w, 1) * h);
    korvel_screen_image(context.get(), 1, &o, page.data(), Stride(w, 8), whole.data(), Stride(w, 1),
                        w, h);
    for (int band : {1, 7, 64})
      EXPECT_EQ(Streamed(context.get(), o, page, w, h, band), whole)
          << "cells " << o.cell_width << "x" << o.cell_height << ", dot mode " << o.dot_mode
          << ", bands of " << band;
  }
}

}  // namespace
