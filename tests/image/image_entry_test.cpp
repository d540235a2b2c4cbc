// The image entry points end to end: every template type and dot mode through both depths with
// and without template diffusion, the dispatcher's equivalences, packing, the 2-bit short path,
// seeding, and the refusals.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "config/compensation.h"
#include "image/halftone_engine.h"
#include "image/image_packing.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::PixelAt;
using test::Stride;

constexpr uint8_t kSentinel = 0xA5;

using Entry = int (*)(unsigned char*, unsigned char*, int, int, __QUENTAL_TEMPLATE_TYPE, int, int,
                      __QUENTAL_DOT_MODE, bool);

struct Call {
  int width = 45, height = 23;
  int type = 0;
  int cellWidth = 1, cellHeight = 1;
  int dotMode = 0;
  bool diffusion = false;
};

// A grey image with every level and some texture; its row padding holds distinct values.
Bytes TestImage(int width, int height) {
  Bytes image(static_cast<size_t>(Stride(width, 8)) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < Stride(width, 8); ++x)
      image[y * Stride(width, 8) + x] =
          x < width ? static_cast<uint8_t>((x * 255) / width ^ (y * 8)) : 0x40 + x;
  return image;
}

Bytes Screen(int bits, const Call& c, const unsigned char* source = nullptr) {
  const Entry entry = bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
  Bytes image = source ? Bytes() : TestImage(c.width, c.height);
  Bytes out(static_cast<size_t>(Stride(c.width, bits)) * c.height, kSentinel);
  EXPECT_EQ(entry(source ? const_cast<unsigned char*>(source) : image.data(), out.data(), c.width,
                  c.height, static_cast<__QUENTAL_TEMPLATE_TYPE>(c.type), c.cellWidth, c.cellHeight,
                  static_cast<__QUENTAL_DOT_MODE>(c.dotMode), c.diffusion),
            1);
  return out;
}

std::set<int> CodesInside(const Bytes& out, int bits, int width, int height) {
  std::set<int> codes;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) codes.insert(PixelAt(out, width, bits, x, y));
  return codes;
}

class ImageEntry : public ::testing::Test {
 protected:
  void SetUp() override { KORVEL_Init(0); }
};

// The 2-bit codes a template type may give: 0 none, 1 small, 2 medium, 3 large.
std::set<int> AllowedCodes(int type) {
  if (type == 39) return {0, 1};  // the short path ignores the flag
  if (type == 40) return {0, 1, 2};
  if (type == 41) return {0, 1, 2, 3};
  return {0, 3};  // two-level screens, and the template diffusion for every dispatched type
}

TEST_F(ImageEntry, EveryTypeAndDotModeIsDeterministicAndUsesOnlyItsLevels) {
  for (int bits : {1, 2})
    for (bool diffusion : {false, true})
      for (int type = -2; type <= 44; ++type) {
        Call c;
        c.type = type;
        c.diffusion = diffusion;
        std::vector<Bytes> byMode;
        for (int mode = 0; mode <= 3; ++mode) {
          c.dotMode = mode;
          byMode.push_back(Screen(bits, c));
          ASSERT_EQ(Screen(bits, c), byMode.back()) << "repeat, type " << type;
          const std::set<int> codes = CodesInside(byMode.back(), bits, c.width, c.height);
          const std::set<int> allowed = bits == 1 ? std::set<int>{0, 1} : AllowedCodes(type);
          for (int code : codes) EXPECT_TRUE(allowed.count(code)) << type << " code " << code;
        }
        // Dot modes outside 0..3 enlarge by 1, like mode 0.
        for (int mode : {-1, 4, 1000}) {
          c.dotMode = mode;
          EXPECT_EQ(Screen(bits, c), byMode[0]) << "type " << type << " mode " << mode;
        }
        // The bar patterns limit the enlargement to 2.
        if (type == 4 || type == 8 || type == 9) {
          EXPECT_EQ(byMode[2], byMode[1]) << type;
          EXPECT_EQ(byMode[3], byMode[1]) << type;
        }
      }
}

TEST_F(ImageEntry, TypesWithoutAPatternOfTheirOwnScreenTheRamp) {
  for (int bits : {1, 2})
    for (bool diffusion : {false, true}) {
      Call c;
      c.diffusion = diffusion;
      const Bytes ramp = Screen(bits, c);
      for (int type : {-1000, -1, 10, 12, 20, 33, 35, 37, 43, 44, INT_MAX}) {
        c.type = type;
        EXPECT_EQ(Screen(bits, c), ramp) << "type " << type;
      }
    }
}

TEST_F(ImageEntry, TypeThirtySixDropsTheFirstOfOneMoreRow) {
  for (int bits : {1, 2})
    for (bool diffusion : {false, true}) {
      Call c;
      c.diffusion = diffusion;
      c.type = 36;
      c.height = 4;
      Call ramp = c;
      ramp.type = 0;
      ramp.height = 5;
      const Bytes taller = Screen(bits, ramp);
      const size_t stride = Stride(c.width, bits);
      EXPECT_EQ(Screen(bits, c), Bytes(taller.begin() + stride, taller.end())) << bits;
      // Below four rows it is the mid grey of type 2.
      c.height = ramp.height = 3;
      ramp.type = 2;
      EXPECT_EQ(Screen(bits, c), Screen(bits, ramp)) << bits;
    }
}

TEST_F(ImageEntry, MatrixTypeWithoutImageScreensTheRampPattern) {
  Call c;
  c.type = 42;
  // The engine's raster before the pattern is drawn: white inside, the cleared padding around.
  Bytes ramp(static_cast<size_t>(Stride(c.width, 8)) * c.height, 0);
  for (int y = 0; y < c.height; ++y) std::fill_n(&ramp[y * Stride(c.width, 8)], c.width, 255);
  SetupCompensation(ramp.data(), c.height, c.width, 0, 1);
  for (int bits : {1, 2}) {
    Bytes out(static_cast<size_t>(Stride(c.width, bits)) * c.height, kSentinel);
    const Entry entry =
        bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
    EXPECT_EQ(entry(nullptr, out.data(), c.width, c.height, __QUENTAL_TEMPLATE_TYPE(42), 1, 1,
                    __QUENTAL_DOT_MODE(0), false),
              1);
    EXPECT_EQ(out, Screen(bits, c, ramp.data())) << bits;
  }
}

TEST_F(ImageEntry, DotModeAndCellFactorsEnlargeEveryScreenedCell) {
  for (int bits : {1, 2})
    for (int type : {34, 39, 40, 41, 42})
      for (int mode : {0, 1, 2, 3}) {
        Call c;
        c.width = 61;
        c.height = 29;
        c.type = type;
        c.cellWidth = 3;
        c.cellHeight = 2;
        c.dotMode = mode;
        const Bytes out = Screen(bits, c);
        // The 2-bit short path (39..41) screens every pixel; everything else screens cells.
        const bool cells = bits == 1 || type == 34 || type == 42;
        const int cw = cells ? (1 << mode) * 3 : 1, ch = cells ? (1 << mode) * 2 : 1;
        for (int y = 0; y < c.height; ++y)
          for (int x = 0; x < c.width; ++x)
            ASSERT_EQ(PixelAt(out, c.width, bits, x, y),
                      PixelAt(out, c.width, bits, x / cw * cw, y / ch * ch))
                << "type " << type << " mode " << mode << " at " << x << "," << y;
        if (!cells) {
          EXPECT_GT(CodesInside(out, bits, c.width, c.height).size(), 1u);
        }
      }
}

TEST_F(ImageEntry, SmallDotsAloneAreBlankAtOneBit) {
  Call c;
  c.type = 39;
  const Bytes blank(static_cast<size_t>(Stride(c.width, 1)) * c.height, 0);
  EXPECT_EQ(Screen(1, c), blank);
  // With the template diffusion the dots are two-level and do show.
  c.diffusion = true;
  EXPECT_NE(Screen(1, c), blank);
}

TEST_F(ImageEntry, PacksLevelsToBitsAndCodes) {
  BuildPackTables();
  ASSERT_TRUE(g_packTablesReady);
  for (int a = 0; a < 4; ++a)
    for (int b = 0; b < 4; ++b)
      for (int c = 0; c < 4; ++c)
        for (int d = 0; d < 4; ++d)
          ASSERT_EQ(g_twoBitPack[((a * 4 + b) * 4 + c) * 4 + d],
                    ((3 - a) << 6) | ((3 - b) << 4) | ((3 - c) << 2) | (3 - d));

  // Eleven pixels: a partial byte at 1 bit, a partial group at 2 bits.
  const int width = 11;
  const Bytes levels = {0, 84, 85, 169, 170, 254, 255, 0, 85, 170, 255, 0};
  Bytes oneBit(4, kSentinel), twoBit(4, kSentinel);
  PackOneBit(levels.data(), width, 1, oneBit.data());
  EXPECT_EQ(test::Hex(oneBit), test::Hex({0xE1, 0x80, 0x00, 0x00}));  // below 128 is a dot
  PackTwoBit(levels.data(), width, 1, twoBit.data());
  // Codes 3 3 2 2 | 1 1 0 3 | 2 1 0 and the padding byte 0 (code 3); byte 3 is not written.
  EXPECT_EQ(test::Hex(twoBit), test::Hex({0xFA, 0x53, 0x93, kSentinel}));
}

TEST_F(ImageEntry, TwoBitRowOfFiveAlsoPacksThePaddingOfItsIntermediateRow) {
  Call c;
  c.width = 5;
  c.height = 3;
  Bytes source = TestImage(c.width, c.height);
  for (int y = 0; y < c.height; ++y) {
    source[y * 8 + 5] = 170;  // code 1
    source[y * 8 + 6] = 85;   // code 2
    source[y * 8 + 7] = 255;  // code 0
  }
  const auto expectRows = [&](const Bytes& out, int lowBits, bool cleared, const char* what) {
    for (int y = 0; y < c.height; ++y) {
      EXPECT_EQ(out[y * 4 + 1] & 0x3F, lowBits) << what << " row " << y;
      EXPECT_EQ(out[y * 4 + 2], cleared ? 0 : kSentinel) << what;
      EXPECT_EQ(out[y * 4 + 3], cleared ? 0 : kSentinel) << what;
    }
  };
  c.type = 2;  // a pattern: the padding is still the cleared 0, large-dot code 3
  expectRows(Screen(2, c), 0x3F, true, "pattern");
  for (int type : {34, 42}) {  // the source copied in, padding included
    c.type = type;
    expectRows(Screen(2, c, source.data()), 0x18, true, "copied source");
  }
  for (int type : {39, 40, 41}) {  // the short path: padding set to no dot, rest untouched
    c.type = type;
    expectRows(Screen(2, c, source.data()), 0x00, false, "short path");
  }
}

TEST_F(ImageEntry, SeedsTheGeneratorExceptOnTheShortPath) {
  // The first number drawn after a call tells which seed the call left behind.
  const auto drawnAfter = [](const std::function<void()>& call) {
    call();
    return std::rand();
  };
  const auto firstAfterSeed = [](unsigned seed) {
    std::srand(seed);
    return std::rand();
  };
  Call c;
  c.type = 2;  // mid grey: the pattern draws no number
  EXPECT_EQ(drawnAfter([&] { Screen(1, c); }), firstAfterSeed(0));
  EXPECT_EQ(drawnAfter([&] { Screen(2, c); }), firstAfterSeed(2000));
  c.type = 40;
  EXPECT_EQ(drawnAfter([&] {
              std::srand(77);
              Screen(2, c);
            }),
            firstAfterSeed(77));
}

TEST_F(ImageEntry, ShortPathLeavesTheDiffusionFlagAlone) {
  Call c;
  c.diffusion = true;
  Screen(2, c);
  EXPECT_TRUE(g_useTemplateDiffusion);
  c.type = 41;
  c.diffusion = false;
  Screen(2, c);
  EXPECT_TRUE(g_useTemplateDiffusion);
  c.type = 0;
  Screen(1, c);
  EXPECT_FALSE(g_useTemplateDiffusion);
}

TEST_F(ImageEntry, HugeCellsScreenTheWholeImageAsOneCell) {
  Call c;
  c.type = 42;
  c.cellWidth = INT_MAX;
  c.cellHeight = INT_MAX;
  c.dotMode = 3;
  for (int bits : {1, 2})
    EXPECT_EQ(CodesInside(Screen(bits, c), bits, c.width, c.height).size(), 1u) << bits;
}

TEST_F(ImageEntry, RefusesWhatItCannotScreenAndWritesNothing) {
  const Bytes image = TestImage(8, 8);
  struct Refused {
    const char* why;
    bool nullSource, nullOutput;
    int width, height, type, cellWidth, cellHeight;
  };
  const Refused cases[] = {
      {"zero width", false, false, 0, 8, 0, 1, 1},
      {"negative height", false, false, 8, -1, 0, 1, 1},
      {"zero cell width", false, false, 8, 8, 0, 0, 1},
      {"negative cell height", false, false, 8, 8, 0, 1, -4},
      {"null output", false, true, 8, 8, 0, 1, 1},
      {"null image for 34", true, false, 8, 8, 34, 1, 1},
      {"null image for 39", true, false, 8, 8, 39, 1, 1},
      {"null image for 40", true, false, 8, 8, 40, 1, 1},
      {"null image for 41", true, false, 8, 8, 41, 1, 1},
      {"raster over 2 GiB", true, false, INT_MAX / 4, 5, 0, 1, 1},
      {"widest row", true, false, INT_MAX - 8, 1, 0, 1, 1},
  };
  for (int bits : {1, 2})
    for (const Refused& r : cases) {
      Bytes out(64, kSentinel);
      g_useTemplateDiffusion = false;
      const Entry entry =
          bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
      EXPECT_EQ(entry(r.nullSource ? nullptr : const_cast<unsigned char*>(image.data()),
                      r.nullOutput ? nullptr : out.data(), r.width, r.height,
                      __QUENTAL_TEMPLATE_TYPE(r.type), r.cellWidth, r.cellHeight,
                      __QUENTAL_DOT_MODE(0), true),
                0)
          << r.why;
      EXPECT_EQ(out, Bytes(64, kSentinel)) << r.why;
      EXPECT_FALSE(g_useTemplateDiffusion) << r.why;
    }
  // Types that never read the image accept a null one.
  Bytes out(static_cast<size_t>(Stride(8, 2)) * 8);
  for (int type : {0, 2, 36, 38, 42})
    EXPECT_EQ(
        KORVEL_GetImageTempateData_2Bit(nullptr, out.data(), 8, 8, __QUENTAL_TEMPLATE_TYPE(type), 1,
                                        1, __QUENTAL_DOT_MODE(0), false),
        1);
}

// Settled outputs of the paths that depend only on the dot ditherers, the matrices and the
// engine's geometry: later optimisations must keep them byte for byte.
TEST_F(ImageEntry, DitherPathsMatchTheirGoldenFingerprints) {
  const struct {
    int bits, type, dotMode;
    const char* fingerprint;
  } golden[] = {
      {2, 39, 0, "20678b15ee46b722"}, {2, 40, 0, "f3dc11a09e9ff36f"},
      {2, 41, 0, "8dc1e9e2d5f0ba61"}, {2, 42, 0, "80c3cd6bdbf08311"},
      {1, 40, 0, "991842985bcfc49e"}, {1, 41, 1, "97fc6b6569520bb8"},
      {1, 42, 2, "f7220c1a7f9cfb54"},
  };
  for (const auto& g : golden) {
    Call c;
    c.width = 133;
    c.height = 61;
    c.type = g.type;
    c.dotMode = g.dotMode;
    EXPECT_EQ(test::Fingerprint(Screen(g.bits, c)), g.fingerprint)
        << g.bits << "-bit type " << g.type << " mode " << g.dotMode;
  }
}

}  // namespace
