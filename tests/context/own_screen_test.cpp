// korvel's own screens through the C interface: the packed page is what the screen's rows of
// tone-mapped amounts give, packed by a plain reference; contexts on several threads give the
// bytes of one; and every call the interface refuses writes nothing. (Their streams are among
// the streamed configurations of stream_test.cpp.)
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "config/tone_curve.h"
#include "context/random_page.h"
#include "image/own_screen.h"
#include "image/tone_target.h"

namespace {

using test::Bytes;
using test::Context;
using test::SomeStride;
using test::Stride;

using test::OwnOptions;
using test::Page;

// A page of an own screen written at its packed stride.
Page RandomPackedPage(test::Random& random) {
  Page page = test::RandomOwnPage(random);
  page.outputStride = Stride(page.width, page.bits);
  return page;
}

// The plain reference: each grey through the tone curve the error-diffusion screen of the
// caller's image uses, the screen's rows of drop levels packed one pixel at a time.
Bytes Reference(const Page& page, bool ownCurve) {
  ScreeningState state;
  state.ResetLevelAmount();
  if (ownCurve) state.ownCurve.assign(std::begin(test::kOwnCurve), std::end(test::kOwnCurve));
  SetupToneCurve(state, 34);
  const int bits = page.bits;
  const DropSet drops =
      bits == 1 ? DropSet::OneBit()
                : DropSet::ThreeDrops(
                      static_cast<int32_t>(std::lround(page.screen.small_drop_ink * 2550)),
                      static_cast<int32_t>(std::lround(page.screen.medium_drop_ink * 2550)));
  auto screen = page.screen.screen == KORVEL_SCREEN_FINE
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
          std::max(state.toneCurve[(255 - page.pixels[page.sourceStride * y + x]) * 10], 0), 2550));
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
    const Page page = RandomPackedPage(random);
    const bool ownCurve = random.Below(2) == 0;
    const Context context = test::NewCurveContext(ownCurve);
    Bytes out(page.outputStride * page.height, 0xA5);
    ASSERT_EQ(page.ScreenWhole(context.get(), out.data()), KORVEL_OK);
    ASSERT_EQ(out, Reference(page, ownCurve)) << page.Describe() << (ownCurve ? ", own curve" : "");
  }
}

// Paper white is no drop and solid black the large drop at every pixel, in the codes the 2-bit
// drop screen of template type 41 writes for them.
TEST(OwnScreenPage, WhiteAndBlackCarryTheCodesOfTheDropScreen) {
  const int width = 37, height = 6;
  const Context context = test::NewCurveContext(false);
  for (const uint8_t grey : {uint8_t{255}, uint8_t{0}}) {
    const Bytes image(Stride(width, 8) * height, grey);
    Bytes dropScreen(Stride(width, 2) * height);
    const korvel_image_options type41 = {41, 1, 1, 0, 0};
    ASSERT_EQ(korvel_context_screen_image(context.get(), 2, &type41, image.data(), Stride(width, 8),
                                          dropScreen.data(), Stride(width, 2), width, height),
              KORVEL_OK);
    for (const korvel_screen screen : {KORVEL_SCREEN_FINE, KORVEL_SCREEN_BEST}) {
      const korvel_screen_options options = OwnOptions(screen, 2);
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
  for (int k = 0; k < 12; ++k) pages.push_back(test::RandomOwnPage(random));
  auto screenAll = [&pages](std::vector<Bytes>& results, size_t first, size_t step) {
    const Context context = test::NewCurveContext(true);
    for (size_t k = first; k < pages.size(); k += step) {
      results[k].assign(pages[k].outputStride * pages[k].height, 0);
      pages[k].ScreenWhole(context.get(), results[k].data());
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

// (Options the screens cannot honour are rows of the refusal table, null buffers and sizes
// among the context's refusals.)

// A begun stream of either screen at either depth refuses bad bands and writes nothing. (A band
// past the page's last row, and rows asked at once of a delayed stream, are rows of the refusal
// table.)
TEST(OwnScreenRefusals, BandsAStreamCannotTake) {
  const Context context = test::NewCurveContext(false);
  for (const korvel_screen screen : {KORVEL_SCREEN_FINE, KORVEL_SCREEN_BEST})
    for (const int bits : {1, 2}) {
      const korvel_screen_options options = OwnOptions(screen, bits);
      korvel_stream* stream = nullptr;
      ASSERT_EQ(korvel_context_begin_screen_stream(context.get(), &options, 12, 3, &stream),
                KORVEL_OK);
      Guarded b;
      int written = -7;
      const unsigned char* in = b.source.data();
      const struct {
        korvel_status expected;
        korvel_stream* stream;
        const unsigned char* source;
        size_t sourceStride;
        int rows;
        size_t outputStride;
        int* written;
      } feeds[] = {{KORVEL_ERROR_SIZE, stream, in, 12, -1, 4, &written},
                   {KORVEL_ERROR_NULL_BUFFER, stream, in, 12, 1, 4, nullptr},
                   {KORVEL_ERROR_NULL_BUFFER, stream, nullptr, 12, 1, 4, &written},
                   {KORVEL_ERROR_STRIDE, stream, in, 11, 1, 4, &written},
                   {KORVEL_ERROR_STRIDE, stream, in, 12, 1, bits == 1 ? 1u : 2u, &written},
                   {KORVEL_ERROR_NULL_CONTEXT, nullptr, in, 12, 1, 4, &written}};
      for (const auto& f : feeds)
        EXPECT_EQ(korvel_stream_feed(f.stream, f.source, f.sourceStride, f.rows, b.output.data(),
                                     f.outputStride, f.written),
                  f.expected);
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
  EXPECT_STRNE(korvel_strerror(KORVEL_ERROR_STREAM_DELAY), korvel_strerror(korvel_status(99)));
}

// Options filled for a smaller structure (a caller built against an older header) leave the
// fields past its size alone (the refusal table has that size refused).
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
}

}  // namespace
