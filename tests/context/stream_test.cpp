// A page streamed in bands gives the bytes of the whole-page call on every configuration that
// streams: 1 and 2 bits of the caller's image through the error-diffusion screen, the template
// diffusion, the three dot screens and the 257 matrix screen, on any cells and dot mode, at any
// strides that hold a row, and leaves the context as that call does. (What does not stream is
// among the context's refusals.)
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <memory>
#include <string>

#include "support/context.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::SomeStride;
using test::Stride;

using test::Context;

// A context at quality level 0, with a tone curve of its own or none.
Context NewContext(bool ownCurve) {
  Context context = test::NewContext(0);
  const int curve[] = {0, 35, 52, 90, 100};
  if (ownCurve) korvel_context_set_tone_curve(context.get(), curve, 5);
  return context;
}

// One page: its options, sizes, strides and an image with random bytes in every row's padding
// (the 2-bit output packs some of them).
struct Page {
  int bits;
  korvel_image_options options;
  int width, height;
  size_t sourceStride, outputStride;
  Bytes image;
  std::string Describe() const {
    return std::to_string(bits) + " bits, type " + std::to_string(options.template_type) +
           (options.use_template_diffusion ? " (template diffusion)" : "") + ", cells " +
           std::to_string(options.cell_width) + "x" + std::to_string(options.cell_height) +
           " mode " + std::to_string(options.dot_mode) + ", " + std::to_string(width) + "x" +
           std::to_string(height) + ", strides " + std::to_string(sourceStride) + "/" +
           std::to_string(outputStride);
  }
};

Page RandomPage(test::Random& random) {
  const int types[] = {34, 39, 40, 41, 42};
  Page page;
  page.bits = 1 + random.Below(2);
  page.options = {types[random.Below(5)], 1 + random.Below(3), 1 + random.Below(4),
                  random.Below(5) == 0 ? random.Below(4) : 0, random.Below(3) == 0};
  page.width = random.Below(3) == 0 ? 1 + random.Below(7) : 8 + random.Below(120);
  page.height = 1 + random.Below(150);
  page.sourceStride = SomeStride(random, page.width, 8);
  page.outputStride = SomeStride(random, page.width, page.bits);
  const Bytes scene = test::RandomScene(page.width, page.height, random.Next());
  page.image.resize(page.sourceStride * page.height);
  for (size_t i = 0; i < page.image.size(); ++i)
    page.image[i] = static_cast<uint8_t>(random.Next() >> 24);
  for (int y = 0; y < page.height; ++y)
    std::copy_n(&scene[Stride(page.width, 8) * y], page.width, &page.image[page.sourceStride * y]);
  return page;
}

// The page in bands of one height (1, 7 or 64 rows) or of random heights.
Bytes Streamed(korvel_context* context, const Page& page, test::Random& random, Bytes out) {
  korvel_stream* stream = nullptr;
  EXPECT_EQ(korvel_context_begin_stream(context, page.bits, &page.options, page.width, page.height,
                                        &stream),
            KORVEL_OK);
  if (stream == nullptr) return {};
  const int bands[] = {1, 7, 64, 0};
  const int band = bands[random.Below(4)];
  for (int y = 0; y < page.height;) {
    const int rows = std::min(band != 0 ? band : 1 + random.Below(40), page.height - y);
    EXPECT_EQ(
        korvel_stream_screen_rows(stream, &page.image[page.sourceStride * y], page.sourceStride,
                                  &out[page.outputStride * y], page.outputStride, rows),
        KORVEL_OK);
    y += rows;
  }
  int left = -1;
  korvel_stream_get_rows_left(stream, &left);
  EXPECT_EQ(left, 0);
  korvel_stream_destroy(stream);
  return out;
}

// What a later template shows of the context's level table, which an image call may rewrite.
Bytes LevelTableTrace(korvel_context* context) {
  Bytes trace(Stride(40, 1) * 6 * 3);
  for (int k = 0; k < 3; ++k)
    korvel_context_template(context, 1, 20 + 30 * k, &trace[Stride(40, 1) * 6 * k], Stride(40, 1),
                            40, 6);
  return trace;
}

TEST(StreamEquivalence, EveryStreamedConfigurationGivesTheWholePageBytes) {
  test::Random random{2026};
  for (int round = 0; round < 400; ++round) {
    const Page page = RandomPage(random);
    const bool ownCurve = random.Below(2) == 0;
    const Context whole = NewContext(ownCurve), streamed = NewContext(ownCurve);
    // Bytes a call leaves unwritten must stay as they were in both.
    Bytes expected(page.outputStride * page.height);
    for (uint8_t& byte : expected) byte = static_cast<uint8_t>(random.Next() >> 24);
    const Bytes before = expected;
    ASSERT_EQ(korvel_context_screen_image(whole.get(), page.bits, &page.options, page.image.data(),
                                          page.sourceStride, expected.data(), page.outputStride,
                                          page.width, page.height),
              KORVEL_OK);
    ASSERT_EQ(Streamed(streamed.get(), page, random, before), expected) << page.Describe();
    ASSERT_EQ(LevelTableTrace(streamed.get()), LevelTableTrace(whole.get())) << page.Describe();
  }
}

}  // namespace
