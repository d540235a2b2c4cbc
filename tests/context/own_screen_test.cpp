// korvel's own screens through the C interface: the packed page is what the screen's rows of
// tone-mapped amounts give, packed by a plain reference. (Their streams are among the streamed
// configurations of stream_test.cpp, their refusals among the context's refusals.)
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "config/tone_curve.h"
#include "context/random_page.h"
#include "image/own_screen.h"
#include "image/tone_target.h"

namespace {

using test::Bytes;
using test::Context;
using test::Stride;

using test::OwnOptions;
using test::Page;

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
    Page page = test::RandomOwnPage(random);
    page.outputStride = Stride(page.width, page.bits);  // written packed
    const bool ownCurve = random.Below(2) == 0;
    const Context context = test::NewCurveContext(ownCurve);
    Bytes out(page.outputStride * page.height, 0xA5);
    ASSERT_EQ(page.ScreenWhole(context.get(), out.data()), KORVEL_OK);
    ASSERT_EQ(out, Reference(page, ownCurve)) << page.Describe() << (ownCurve ? ", own curve" : "");
  }
}

}  // namespace
