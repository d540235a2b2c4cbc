// A page streamed in bands gives the bytes of the whole-page call on every configuration that
// streams: 1 and 2 bits of the caller's image through the error-diffusion screen, the template
// diffusion, the three dot screens and the 257 matrix screen, on any cells and dot mode, and
// korvel's own screens with any drop inks, at any strides that hold a row, and leaves the
// context as that call does. The feed keeps what it promises of every band. (What does not
// stream is among the context's refusals.)
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>

#include "context/random_page.h"

namespace {

using test::Bytes;
using test::Page;
using test::Stride;

// The page in bands of one height (1, 5 or 64 rows) or of random heights, the finished rows
// collected in page order. Checks what the feed promises of every band: no row before it is
// fed, every row once `delay` rows below it are fed, at most rows + delay a band. A stream
// without delay is fed with korvel_stream_feed or korvel_stream_screen_rows at random.
Bytes Streamed(korvel_context* context, const Page& page, test::Random& random, Bytes out) {
  korvel_stream* stream = nullptr;
  EXPECT_EQ(page.BeginStream(context, &stream), KORVEL_OK);
  if (stream == nullptr) return {};
  int delay = -1;
  EXPECT_EQ(korvel_stream_get_delay(stream, &delay), KORVEL_OK);
  EXPECT_GE(delay, 0);
  EXPECT_TRUE(page.own || delay == 0) << page.Describe();
  const bool byRows = delay == 0 && random.Below(2) == 0;
  const int bands[] = {1, 5, 64, 0};
  const int band = bands[random.Below(4)];
  int written = 0;
  for (int fed = 0; fed < page.height;) {
    const int rows = std::min(band != 0 ? band : 1 + random.Below(40), page.height - fed);
    const unsigned char* source = &page.pixels[page.sourceStride * fed];
    unsigned char* output = &out[page.outputStride * written];
    int now = rows;
    EXPECT_EQ(byRows ? korvel_stream_screen_rows(stream, source, page.sourceStride, output,
                                                 page.outputStride, rows)
                     : korvel_stream_feed(stream, source, page.sourceStride, rows, output,
                                          page.outputStride, &now),
              KORVEL_OK);
    fed += rows;
    written += now;
    EXPECT_LE(now, rows + delay) << page.Describe();
    EXPECT_LE(written, fed) << page.Describe();
    EXPECT_GE(written, fed == page.height ? page.height : fed - delay) << page.Describe();
  }
  int left = -1, none = -1;
  korvel_stream_get_rows_left(stream, &left);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(korvel_stream_feed(stream, nullptr, 0, 0, nullptr, 0, &none), KORVEL_OK);
  EXPECT_EQ(none, 0) << "an empty band at the end writes no row";
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
  for (int round = 0; round < 700; ++round) {
    const Page page = round % 7 < 3 ? RandomOwnPage(random) : RandomImagePage(random);
    const bool ownCurve = random.Below(2) == 0;
    const test::Context whole = test::NewCurveContext(ownCurve),
                        streamed = test::NewCurveContext(ownCurve);
    // Bytes a call leaves unwritten must stay as they were in both.
    Bytes expected = test::RandomBytes(random, page.outputStride * page.height);
    const Bytes before = expected;
    ASSERT_EQ(page.ScreenWhole(whole.get(), expected.data()), KORVEL_OK);
    // An own screen writes no byte past a row's pixels.
    const size_t received = std::min<size_t>(page.outputStride, Stride(page.width, page.bits));
    for (int y = 0; page.own && y < page.height; ++y)
      ASSERT_TRUE(std::equal(&expected[page.outputStride * y + received],
                             &expected[page.outputStride * (y + 1)],
                             &before[page.outputStride * y + received]))
          << page.Describe();
    ASSERT_EQ(Streamed(streamed.get(), page, random, before), expected) << page.Describe();
    ASSERT_EQ(LevelTableTrace(streamed.get()), LevelTableTrace(whole.get())) << page.Describe();
  }
}

}  // namespace
