// korvel's own screens through the C interface: the packed page is what the screen's rows of
// tone-mapped amounts give, packed by a plain reference; a page fed in bands of any height
// equals the whole page whatever the screen's delay; contexts on several threads give the
// bytes of one; and every call the interface refuses writes nothing.
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "config/tone_curve.h"
#include "image/own_screen.h"
#include "image/tone_target.h"
#include "support/context.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Context;
using test::SomeStride;
using test::Stride;

korvel_screen_options Options(korvel_screen screen, int bits, double small = 1.0 / 3,
                              double medium = 2.0 / 3) {
  korvel_screen_options options;
  korvel_screen_options_init(&options, screen, bits);
  options.small_drop_ink = small;
  options.medium_drop_ink = medium;
  return options;
}

const int kCurve[] = {0, 35, 52, 90, 100};

// A page, its options and strides, and an image with random bytes past each row's pixels.
struct Page {
  korvel_screen_options options;
  int width, height;
  size_t sourceStride, outputStride;
  Bytes image;
  std::string Describe() const {
    return std::string(options.screen == KORVEL_SCREEN_FINE ? "fine" : "best") + " " +
           std::to_string(options.bits) + " bits, inks " + std::to_string(options.small_drop_ink) +
           "/" + std::to_string(options.medium_drop_ink) + ", " + std::to_string(width) + "x" +
           std::to_string(height) + ", strides " + std::to_string(sourceStride) + "/" +
           std::to_string(outputStride);
  }
};

Page RandomPage(test::Random& random) {
  Page page;
  const double small = 0.05 + 0.4 * random.Below(1000) / 1000.0;
  const double medium = small + 0.05 + (0.9 - small) * random.Below(1000) / 1000.0;
  page.options = Options(random.Below(2) == 0 ? KORVEL_SCREEN_FINE : KORVEL_SCREEN_BEST,
                         1 + random.Below(2), small, medium);
  page.width = random.Below(3) == 0 ? 1 + random.Below(7) : 8 + random.Below(120);
  page.height = 1 + random.Below(60);
  page.sourceStride = SomeStride(random, page.width, 8);
  page.outputStride = SomeStride(random, page.width, page.options.bits);
  const Bytes scene = test::RandomScene(page.width, page.height, random.Next());
  page.image.resize(page.sourceStride * page.height);
  for (uint8_t& byte : page.image) byte = static_cast<uint8_t>(random.Next() >> 24);
  for (int y = 0; y < page.height; ++y)
    std::copy_n(&scene[Stride(page.width, 8) * y], page.width, &page.image[page.sourceStride * y]);
  return page;
}

Bytes RandomBytes(test::Random& random, size_t size) {
  Bytes bytes(size);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random.Next() >> 24);
  return bytes;
}

Context NewContext(bool ownCurve) {
  Context context = test::NewContext(0);
  if (ownCurve) korvel_context_set_tone_curve(context.get(), kCurve, 5);
  return context;
}

// The page fed in bands of one height (1, 5 or the whole page) or of random heights, the
// finished rows collected in page order. Checks what the feed promises of every band: no row
// before it is fed, every row once `delay` rows below it are fed, at most rows + delay a band.
Bytes Fed(korvel_context* context, const Page& page, test::Random& random, Bytes out) {
  korvel_stream* stream = nullptr;
  EXPECT_EQ(
      korvel_context_begin_screen_stream(context, &page.options, page.width, page.height, &stream),
      KORVEL_OK);
  if (stream == nullptr) return {};
  int delay = -1;
  EXPECT_EQ(korvel_stream_get_delay(stream, &delay), KORVEL_OK);
  EXPECT_GE(delay, 0);
  const int bands[] = {1, 5, page.height, 0};
  const int band = bands[random.Below(4)];
  int written = 0;
  for (int fed = 0; fed < page.height;) {
    const int rows = std::min(band != 0 ? band : 1 + random.Below(12), page.height - fed);
    int now = -1;
    EXPECT_EQ(korvel_stream_feed(stream, &page.image[page.sourceStride * fed], page.sourceStride,
                                 rows, &out[page.outputStride * written], page.outputStride, &now),
              KORVEL_OK);
    fed += rows;
    written += now;
    EXPECT_LE(now, rows + delay) << page.Describe();
    EXPECT_LE(written, fed) << page.Describe();
    EXPECT_GE(written, fed == page.height ? page.height : fed - delay) << page.Describe();
  }
  int left = -1;
  korvel_stream_get_rows_left(stream, &left);
  EXPECT_EQ(left, 0);
  korvel_stream_destroy(stream);
  return out;
}

TEST(OwnScreenStream, FedInAnyBandsGivesTheWholePageBytes) {
  test::Random random{61};
  for (int round = 0; round < 300; ++round) {
    const Page page = RandomPage(random);
    const bool ownCurve = random.Below(2) == 0;
    const Context whole = NewContext(ownCurve), fed = NewContext(ownCurve);
    // Bytes past what a row receives must stay as they were in both.
    Bytes expected = RandomBytes(random, page.outputStride * page.height);
    const Bytes before = expected;
    ASSERT_EQ(
        korvel_context_screen(whole.get(), &page.options, page.image.data(), page.sourceStride,
                              expected.data(), page.outputStride, page.width, page.height),
        KORVEL_OK);
    const size_t received =
        std::min<size_t>(page.outputStride, Stride(page.width, page.options.bits));
    for (int y = 0; y < page.height; ++y)
      ASSERT_TRUE(std::equal(&expected[page.outputStride * y + received],
                             &expected[page.outputStride * (y + 1)],
                             &before[page.outputStride * y + received]))
          << page.Describe();
    ASSERT_EQ(Fed(fed.get(), page, random, before), expected) << page.Describe();
  }
}

// The plain reference: each grey through the tone curve the error-diffusion screen of the
// caller's image uses, the screen's rows of drop levels packed one pixel at a time.
Bytes Reference(const Page& page, bool ownCurve) {
  ScreeningState state;
  state.ResetLevelAmount();
  if (ownCurve) state.ownCurve.assign(std::begin(kCurve), std::end(kCurve));
  SetupToneCurve(state, 34);
  const int bits = page.options.bits;
  const DropSet drops =
      bits == 1 ? DropSet::OneBit()
                : DropSet::ThreeDrops(
                      static_cast<int32_t>(std::lround(page.options.small_drop_ink * 2550)),
                      static_cast<int32_t>(std::lround(page.options.medium_drop_ink * 2550)));
  auto screen = page.options.screen == KORVEL_SCREEN_FINE
                    ? MakeFineScreen(page.width, page.height, drops)
                    : MakeBestScreen(page.width, page.height, drops);
  const size_t stride = static_cast<size_t>(Stride(page.width, bits));
  Bytes packed(stride * page.height, 0);
  std::vector<uint16_t> amounts(page.width);
  std::vector<uint8_t> levels(page.width);
  int given = 0;
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x)
      amounts[x] = static_cast<uint16_t>(std::min(
          std::max(state.toneCurve[(255 - page.image[page.sourceStride * y + x]) * 10], 0), 2550));
    screen->TakeRow(amounts.data());
    for (; screen->GiveRow(levels.data()); ++given)
      for (int x = 0; x < page.width; ++x) {
        const int shift = 8 - bits - (x * bits) % 8;
        packed[stride * given + x * bits / 8] |= static_cast<uint8_t>(levels[x] << shift);
      }
  }
  EXPECT_EQ(given, page.height);
  return packed;
}

TEST(OwnScreenPage, IsTheScreenOfTheToneMappedGreysPackedAsTheReferencePacks) {
  test::Random random{7};
  for (int round = 0; round < 120; ++round) {
    Page page = RandomPage(random);
    page.outputStride = Stride(page.width, page.options.bits);
    const bool ownCurve = random.Below(2) == 0;
    const Context context = NewContext(ownCurve);
    Bytes out(page.outputStride * page.height, 0xA5);
    ASSERT_EQ(
        korvel_context_screen(context.get(), &page.options, page.image.data(), page.sourceStride,
                              out.data(), page.outputStride, page.width, page.height),
        KORVEL_OK);
    ASSERT_EQ(out, Reference(page, ownCurve)) << page.Describe() << (ownCurve ? ", own curve" : "");
  }
}

// Paper white is no drop and solid black the large drop at every pixel, in the codes the 2-bit
// drop screen of template type 41 writes for them.
TEST(OwnScreenPage, WhiteAndBlackCarryTheCodesOfTheDropScreen) {
  const int width = 37, height = 6;
  const Context context = NewContext(false);
  for (const uint8_t grey : {uint8_t{255}, uint8_t{0}}) {
    const Bytes image(Stride(width, 8) * height, grey);
    Bytes dropScreen(Stride(width, 2) * height);
    const korvel_image_options type41 = {41, 1, 1, 0, 0};
    ASSERT_EQ(korvel_context_screen_image(context.get(), 2, &type41, image.data(), Stride(width, 8),
                                          dropScreen.data(), Stride(width, 2), width, height),
              KORVEL_OK);
    for (const korvel_screen screen : {KORVEL_SCREEN_FINE, KORVEL_SCREEN_BEST}) {
      const korvel_screen_options options = Options(screen, 2);
      Bytes own(Stride(width, 2) * height, 0x5A);
      ASSERT_EQ(korvel_context_screen(context.get(), &options, image.data(), Stride(width, 8),
                                      own.data(), Stride(width, 2), width, height),
                KORVEL_OK);
      EXPECT_EQ(own, dropScreen) << "grey " << int{grey} << ", screen " << screen;
    }
  }
}

// Several contexts screening on their own threads give what one context gives alone.
TEST(ConcurrencyOwnScreens, FourThreadsGiveTheBytesOfOne) {
  test::Random random{99};
  std::vector<Page> pages;
  for (int k = 0; k < 12; ++k) pages.push_back(RandomPage(random));
  auto screenAll = [&pages](std::vector<Bytes>& results, size_t first, size_t step) {
    const Context context = NewContext(true);
    for (size_t k = first; k < pages.size(); k += step) {
      results[k].assign(pages[k].outputStride * pages[k].height, 0);
      korvel_context_screen(context.get(), &pages[k].options, pages[k].image.data(),
                            pages[k].sourceStride, results[k].data(), pages[k].outputStride,
                            pages[k].width, pages[k].height);
    }
  };
  std::vector<Bytes> alone(pages.size()), together(pages.size());
  screenAll(alone, 0, 1);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < 4; ++t) threads.emplace_back(screenAll, std::ref(together), t, 4);
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(together, alone);
}

// ---- Refusals -----------------------------------------------------------------------------

struct Guarded {
  Bytes source = Bytes(64, 0x80);
  Bytes output = Bytes(64, 0xA5);
};

// korvel_context_screen and korvel_context_begin_screen_stream both refuse with `expected`, the
// output and the stream pointer untouched or null.
void ExpectPageRefused(const korvel_screen_options* options, int width, int height,
                       korvel_status expected, const std::string& what) {
  const Context context = NewContext(false);
  Guarded buffers;
  EXPECT_EQ(korvel_context_screen(context.get(), options, buffers.source.data(), 16,
                                  buffers.output.data(), 16, width, height),
            expected)
      << what;
  EXPECT_EQ(buffers.output, Guarded().output) << what;
  korvel_stream* stream = reinterpret_cast<korvel_stream*>(&buffers);
  EXPECT_EQ(korvel_context_begin_screen_stream(context.get(), options, width, height, &stream),
            expected)
      << what;
  EXPECT_EQ(stream, nullptr) << what;
}

TEST(OwnScreenRefusals, OptionsTheScreensCannotHonour) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    korvel_screen_options options;
    const char* what;
  };
  korvel_screen_options wrongSize = Options(KORVEL_SCREEN_FINE, 1);
  wrongSize.size -= 1;
  korvel_screen_options screen0 = Options(KORVEL_SCREEN_FINE, 1), screen3 = screen0;
  screen0.screen = static_cast<korvel_screen>(0);
  screen3.screen = static_cast<korvel_screen>(3);
  const Case cases[] = {
      {wrongSize, "an options size the library does not know"},
      {screen0, "screen 0"},
      {screen3, "screen 3"},
      {Options(KORVEL_SCREEN_FINE, 0), "0 bits"},
      {Options(KORVEL_SCREEN_BEST, 4), "4 bits"},
      {Options(KORVEL_SCREEN_FINE, 2, nan, 0.5), "a small ink that is not a number"},
      {Options(KORVEL_SCREEN_FINE, 2, 0.2, inf), "an infinite medium ink"},
      {Options(KORVEL_SCREEN_FINE, 2, 0.0, 0.5), "a small ink of 0"},
      {Options(KORVEL_SCREEN_FINE, 2, 0.0001, 0.5), "a small ink that rounds to 0"},
      {Options(KORVEL_SCREEN_BEST, 2, 0.5, 0.5), "equal inks"},
      {Options(KORVEL_SCREEN_BEST, 2, 0.5, 0.50001), "inks that round to one step"},
      {Options(KORVEL_SCREEN_BEST, 2, 0.6, 0.4), "a small ink above the medium"},
      {Options(KORVEL_SCREEN_FINE, 2, 0.3, 1.0), "a medium ink of a large drop"},
      {Options(KORVEL_SCREEN_FINE, 1, 0.3, 1.2), "an invalid ink at 1 bit too"},
  };
  for (const Case& c : cases) ExpectPageRefused(&c.options, 8, 2, KORVEL_ERROR_ARGUMENT, c.what);
  const korvel_screen_options good = Options(KORVEL_SCREEN_FINE, 2);
  ExpectPageRefused(&good, 0, 2, KORVEL_ERROR_SIZE, "width 0");
  ExpectPageRefused(&good, 8, -1, KORVEL_ERROR_SIZE, "height -1");
  ExpectPageRefused(&good, 1 << 16, 1 << 16, KORVEL_ERROR_SIZE, "a page above INT_MAX bytes");
  ExpectPageRefused(nullptr, 8, 2, KORVEL_ERROR_NULL_BUFFER, "null options");
}

TEST(OwnScreenRefusals, NullBuffersAndNarrowStridesOfThePage) {
  const Context context = NewContext(false);
  const korvel_screen_options options = Options(KORVEL_SCREEN_BEST, 2);
  Guarded b;
  EXPECT_EQ(
      korvel_context_screen(nullptr, &options, b.source.data(), 16, b.output.data(), 16, 8, 2),
      KORVEL_ERROR_NULL_CONTEXT);
  EXPECT_EQ(korvel_context_screen(context.get(), &options, nullptr, 16, b.output.data(), 16, 8, 2),
            KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(korvel_context_screen(context.get(), &options, b.source.data(), 16, nullptr, 16, 8, 2),
            KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(
      korvel_context_screen(context.get(), &options, b.source.data(), 7, b.output.data(), 16, 8, 2),
      KORVEL_ERROR_STRIDE);
  EXPECT_EQ(
      korvel_context_screen(context.get(), &options, b.source.data(), 16, b.output.data(), 2, 9, 2),
      KORVEL_ERROR_STRIDE);
  EXPECT_EQ(b.output, Guarded().output);
  korvel_stream* stream = nullptr;
  EXPECT_EQ(korvel_context_begin_screen_stream(context.get(), &options, 8, 2, nullptr),
            KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(korvel_context_begin_screen_stream(nullptr, &options, 8, 2, &stream),
            KORVEL_ERROR_NULL_CONTEXT);
}

// A begun stream of either screen at either depth refuses bad bands and writes nothing, and
// korvel_stream_screen_rows refuses a stream whose rows come back later.
TEST(OwnScreenRefusals, BandsAStreamCannotTake) {
  const Context context = NewContext(false);
  bool delayedSeen = false;
  for (const korvel_screen screen : {KORVEL_SCREEN_FINE, KORVEL_SCREEN_BEST})
    for (const int bits : {1, 2}) {
      const korvel_screen_options options = Options(screen, bits);
      korvel_stream* stream = nullptr;
      ASSERT_EQ(korvel_context_begin_screen_stream(context.get(), &options, 12, 3, &stream),
                KORVEL_OK);
      int delay = -1;
      ASSERT_EQ(korvel_stream_get_delay(stream, &delay), KORVEL_OK);
      Guarded b;
      int written = -7;
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 12, 4, b.output.data(), 4, &written),
                KORVEL_ERROR_STREAM_END);
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 12, -1, b.output.data(), 4, &written),
                KORVEL_ERROR_SIZE);
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 12, 1, b.output.data(), 4, nullptr),
                KORVEL_ERROR_NULL_BUFFER);
      EXPECT_EQ(korvel_stream_feed(stream, nullptr, 12, 1, b.output.data(), 4, &written),
                KORVEL_ERROR_NULL_BUFFER);
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 11, 1, b.output.data(), 4, &written),
                KORVEL_ERROR_STRIDE);
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 12, 1, b.output.data(),
                                   bits == 1 ? 1 : 2, &written),
                KORVEL_ERROR_STRIDE);
      EXPECT_EQ(korvel_stream_feed(nullptr, b.source.data(), 12, 1, b.output.data(), 4, &written),
                KORVEL_ERROR_NULL_CONTEXT);
      if (delay > 0) {
        delayedSeen = true;
        EXPECT_EQ(korvel_stream_screen_rows(stream, b.source.data(), 12, b.output.data(), 4, 1),
                  KORVEL_ERROR_STREAM_DELAY);
      }
      EXPECT_EQ(written, -7);
      EXPECT_EQ(b.output, Guarded().output);
      int left = -1;
      EXPECT_EQ(korvel_stream_get_rows_left(stream, &left), KORVEL_OK);
      EXPECT_EQ(left, 3) << "a refused band fed rows";
      EXPECT_EQ(korvel_stream_feed(stream, b.source.data(), 12, 0, b.output.data(), 4, &written),
                KORVEL_OK);
      EXPECT_EQ(written, 0);
      korvel_stream_destroy(stream);
    }
  EXPECT_TRUE(delayedSeen) << "no own screen gives rows back later: the refusal went untried";
  EXPECT_STRNE(korvel_strerror(KORVEL_ERROR_STREAM_DELAY), korvel_strerror(korvel_status(99)));
}

// The streams of the image screens have no delay and feed exactly the band's rows, the bytes
// korvel_stream_screen_rows writes.
TEST(OwnScreenStream, FeedOnAnImageStreamWritesTheRowsOfTheBand) {
  const int width = 30, height = 9;
  const Bytes image = test::RandomScene(width, height, 5);
  const korvel_image_options type34 = {34, 1, 1, 0, 0};
  const Context a = NewContext(false), b = NewContext(false);
  korvel_stream *byRows = nullptr, *byFeed = nullptr;
  ASSERT_EQ(korvel_context_begin_stream(a.get(), 1, &type34, width, height, &byRows), KORVEL_OK);
  ASSERT_EQ(korvel_context_begin_stream(b.get(), 1, &type34, width, height, &byFeed), KORVEL_OK);
  int delay = -1;
  ASSERT_EQ(korvel_stream_get_delay(byFeed, &delay), KORVEL_OK);
  EXPECT_EQ(delay, 0);
  Bytes rows(Stride(width, 1) * height), fed(rows.size());
  for (int y = 0; y < height; y += 3) {
    int written = -1;
    ASSERT_EQ(korvel_stream_screen_rows(byRows, &image[Stride(width, 8) * y], Stride(width, 8),
                                        &rows[Stride(width, 1) * y], Stride(width, 1), 3),
              KORVEL_OK);
    ASSERT_EQ(korvel_stream_feed(byFeed, &image[Stride(width, 8) * y], Stride(width, 8), 3,
                                 &fed[Stride(width, 1) * y], Stride(width, 1), &written),
              KORVEL_OK);
    EXPECT_EQ(written, 3);
  }
  EXPECT_EQ(fed, rows);
  korvel_stream_destroy(byRows);
  korvel_stream_destroy(byFeed);
}

// Options filled for a smaller structure (a caller built against an older header) leave the
// fields past its size alone, and that size is refused.
TEST(OwnScreenOptions, InitFillsOnlyTheCallersSize) {
  korvel_screen_options options;
  std::fill_n(reinterpret_cast<unsigned char*>(&options), sizeof options, 0xEE);
  const korvel_screen_options untouched = options;
  const size_t older = offsetof(korvel_screen_options, small_drop_ink);
  korvel_screen_options_init_sized(&options, older, KORVEL_SCREEN_BEST, 2);
  EXPECT_EQ(options.size, older);
  EXPECT_EQ(options.screen, KORVEL_SCREEN_BEST);
  EXPECT_EQ(options.bits, 2);
  EXPECT_EQ(
      0, std::memcmp(&options.small_drop_ink, &untouched.small_drop_ink, sizeof options - older));
  ExpectPageRefused(&options, 8, 2, KORVEL_ERROR_ARGUMENT, "an older options size");
}

}  // namespace
