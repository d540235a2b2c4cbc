// The image entry points end to end: every template type and dot mode at both depths with and
// without template diffusion, the dispatcher's equivalences, packing, the 2-bit short path,
// seeding, refusals and golden outputs.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <vector>

#include "config/compensation.h"
#include "image/grey_rasters.h"
#include "image/halftone_engine.h"
#include "image/image_packing.h"

namespace {

using test::Bytes;
using test::Stride;

constexpr uint8_t kSentinel = 0xA5;

struct Call {
  int width = 45, height = 23, type = 0, cellWidth = 1, cellHeight = 1, dotMode = 0;
  bool diffusion = false;
};

// A test image with every grey and some texture; its row padding holds 0x40 + column.
Bytes TestImage(int width, int height) {
  Bytes image = test::GreyRaster(width, height, [width](int x, int y) {
    return static_cast<uint8_t>(x * 255 / width ^ y * 8);
  });
  for (int y = 0; y < height; ++y)
    for (int x = width; x < test::Stride8(width); ++x)
      image[y * test::Stride8(width) + x] = 0x40 + x;
  return image;
}

int Enter(int bits, const Call& c, const unsigned char* source, unsigned char* out) {
  const auto entry = bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
  return entry(const_cast<unsigned char*>(source), out, c.width, c.height,
               static_cast<__QUENTAL_TEMPLATE_TYPE>(c.type), c.cellWidth, c.cellHeight,
               static_cast<__QUENTAL_DOT_MODE>(c.dotMode), c.diffusion);
}

Bytes Screen(int bits, const Call& c, const Bytes& source) {
  Bytes out(static_cast<size_t>(Stride(c.width, bits)) * c.height, kSentinel);
  EXPECT_EQ(Enter(bits, c, source.empty() ? nullptr : source.data(), out.data()), 1);
  return out;
}
Bytes Screen(int bits, const Call& c) {
  return Screen(bits, c, TestImage(c.width, c.height));
}

class ImageEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVEL_Init(0);
    g_useTemplateDiffusion = false;
  }
};

TEST_F(ImageEntry, EveryTypeAndDotModeIsDeterministicAndUsesOnlyItsLevels) {
  for (int bits : {1, 2})
    for (bool diffusion : {false, true})
      for (int type = -2; type <= 44; ++type) {
        // 2-bit codes: 0 none, 1 small, 2 medium, 3 large; the short path ignores the flag.
        std::set<int> allowed = bits == 1 ? std::set<int>{0, 1} : std::set<int>{0, 3};
        if (bits == 2 && type == 39) allowed = {0, 1};
        if (bits == 2 && type == 40) allowed = {0, 1, 2};
        if (bits == 2 && type == 41) allowed = {0, 1, 2, 3};
        Call c;
        c.type = type;
        c.diffusion = diffusion;
        std::vector<Bytes> byMode;
        for (int mode : {0, 1, 2, 3, -1, 4}) {
          c.dotMode = mode;
          byMode.push_back(Screen(bits, c));
          ASSERT_EQ(Screen(bits, c), byMode.back()) << "repeat, type " << type;
          for (int code : test::ValuesInside(byMode.back(), bits, c.width, c.height))
            EXPECT_TRUE(allowed.count(code)) << type << " code " << code;
        }
        EXPECT_EQ(byMode[4], byMode[0]) << type;  // modes outside 0..3 act as 0
        EXPECT_EQ(byMode[5], byMode[0]) << type;
        if (type == 4 || type == 8 || type == 9) {  // bars enlarge by 2 at most
          EXPECT_EQ(byMode[2], byMode[1]) << type;
          EXPECT_EQ(byMode[3], byMode[1]) << type;
        }
      }
}

// Dot mode m enlarges by 2^m: the same grid as cell factors 2^m times larger.
TEST_F(ImageEntry, DotModesScaleTheCellsByOneTwoFourEight) {
  for (int bits : {1, 2})
    for (int type : {0, 34, 38, 42})
      for (int mode : {1, 2, 3}) {
        const Call byMode{61, 23, type, 3, 2, mode}, byCells{61, 23, type, 3 << mode, 2 << mode};
        EXPECT_EQ(Screen(bits, byMode), Screen(bits, byCells)) << "type " << type << " " << mode;
      }
}

TEST_F(ImageEntry, DispatcherEquivalences) {
  for (int bits : {1, 2})
    for (bool diffusion : {false, true}) {
      Call c, other;
      c.diffusion = other.diffusion = diffusion;
      // Types without a pattern of their own, in range or not, screen the ramp of type 0.
      const Bytes ramp = Screen(bits, c);
      for (int type : {-1000, -1, 10, 33, 35, 37, 43, INT_MAX}) {
        c.type = type;
        EXPECT_EQ(Screen(bits, c), ramp) << "type " << type;
      }
      // Type 36 screens one row more than asked and drops the first; below 4 rows mid grey.
      c.type = 36;
      c.height = 4;
      other.height = 5;
      const Bytes taller = Screen(bits, other);
      EXPECT_EQ(Screen(bits, c), Bytes(taller.begin() + Stride(c.width, bits), taller.end()));
      c.height = other.height = 3;
      other.type = 2;
      EXPECT_EQ(Screen(bits, c), Screen(bits, other));
    }
  // Type 42 without an image screens the ramp pattern, as if it had been handed in.
  Call c;
  c.type = 42;
  Bytes ramp = test::GreyRaster(
      c.width, c.height, [](int, int) { return 255; }, 0);
  SetupCompensation(ramp.data(), c.height, c.width, 0, 1);
  for (int bits : {1, 2}) EXPECT_EQ(Screen(bits, c, Bytes()), Screen(bits, c, ramp)) << bits;
  // Small dots alone are blank at 1 bit, unless the template diffusion screens them.
  c.type = 39;
  const Bytes blank(static_cast<size_t>(Stride(c.width, 1)) * c.height, 0);
  EXPECT_EQ(Screen(1, c), blank);
  c.diffusion = true;
  EXPECT_NE(Screen(1, c), blank);
}

TEST_F(ImageEntry, PacksLevelsToBitsAndCodes) {
  BuildPackTables();
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(g_twoBitPack[i], (3 - (i >> 6)) << 6 | (3 - (i >> 4 & 3)) << 4 |
                                   (3 - (i >> 2 & 3)) << 2 | (3 - (i & 3)));
  // Eleven pixels: a partial byte at 1 bit, a partial group of four at 2 bits.
  const Bytes levels = {0, 84, 85, 169, 170, 254, 255, 0, 85, 170, 255, 0};
  Bytes oneBit(4, kSentinel), twoBit(4, kSentinel);
  PackOneBit(levels.data(), 11, 1, oneBit.data());
  EXPECT_EQ(test::Hex(oneBit), test::Hex({0xE1, 0x80, 0x00, 0x00}));  // below 128 is a dot
  // Every level, eight at a time and in a partial byte: a dot exactly below 128; the rest of
  // the row's stride is cleared.
  Bytes every(259), row(36, kSentinel), expected(36, 0);
  for (int x = 0; x < 259; ++x) {
    every[x] = static_cast<uint8_t>(x * 131 % 256);
    if (every[x] < 128) expected[x / 8] |= 0x80 >> (x % 8);
  }
  PackOneBitRow(every.data(), 259, row.data());
  EXPECT_EQ(test::Hex(row), test::Hex(expected));
  PackTwoBit(levels.data(), 11, 1, twoBit.data());
  // Codes 3 3 2 2 | 1 1 0 3 | 2 1 0 and the padding byte 0 (code 3); byte 3 is not written.
  EXPECT_EQ(test::Hex(twoBit), test::Hex({0xFA, 0x53, 0x93, kSentinel}));
}

TEST_F(ImageEntry, TwoBitRowOfFiveAlsoPacksThePaddingOfItsIntermediateRow) {
  Call c;
  c.width = 5;
  c.height = 3;
  Bytes source = TestImage(c.width, c.height);
  for (int y = 0; y < c.height; ++y)
    std::copy_n(Bytes{170, 85, 255}.begin(), 3, &source[y * 8 + 5]);
  const auto expectRows = [&](const Bytes& out, int lowBits, bool cleared) {
    for (int y = 0; y < c.height; ++y) {
      EXPECT_EQ(out[y * 4 + 1] & 0x3F, lowBits) << "type " << c.type;
      EXPECT_EQ(out[y * 4 + 2], cleared ? 0 : kSentinel) << "type " << c.type;
      EXPECT_EQ(out[y * 4 + 3], cleared ? 0 : kSentinel) << "type " << c.type;
    }
  };
  c.type = 2;  // a pattern: the padding is the cleared 0, large-dot code 3
  expectRows(Screen(2, c), 0x3F, true);
  for (c.type = 34; c.type <= 42; c.type += 8) expectRows(Screen(2, c, source), 0x18, true);
  for (c.type = 39; c.type <= 41; ++c.type) expectRows(Screen(2, c, source), 0x00, false);
}

TEST_F(ImageEntry, ShortPathNeitherSeedsNorSetsTheFlag) {
  const auto drawnAfter = [](const std::function<void()>& call) {
    call();
    return std::rand();
  };
  const auto firstOfSeed = [](unsigned seed) {
    std::srand(seed);
    return std::rand();
  };
  Call c;
  c.type = 2;  // mid grey: the pattern draws no number
  EXPECT_EQ(drawnAfter([&] { Screen(1, c); }), firstOfSeed(0));
  EXPECT_EQ(drawnAfter([&] { Screen(2, c); }), firstOfSeed(2000));
  c.diffusion = true;  // (the template diffusion reseeds from the clock)
  Screen(2, c);
  EXPECT_TRUE(g_useTemplateDiffusion);
  c.type = 40;
  c.diffusion = false;
  EXPECT_EQ(drawnAfter([&] {
              std::srand(77);
              Screen(2, c);
            }),
            firstOfSeed(77));
  EXPECT_TRUE(g_useTemplateDiffusion);
}

TEST_F(ImageEntry, RefusesWhatItCannotScreenAndChangesNothing) {
  const Bytes image = TestImage(8, 8);
  const struct {
    bool source, output;
    int width, height, type, cellWidth, cellHeight;
  } refused[] = {
      {true, true, 0, 8, 0, 1, 1},
      {true, true, 8, -1, 0, 1, 1},
      {true, true, 8, 8, 0, 0, 1},
      {true, true, 8, 8, 0, 1, -4},
      {true, false, 8, 8, 0, 1, 1},
      {false, true, 8, 8, 34, 1, 1},
      {false, true, 8, 8, 39, 1, 1},
      {false, true, 8, 8, 40, 1, 1},
      {false, true, 8, 8, 41, 1, 1},
      {false, true, INT_MAX / 4, 5, 0, 1, 1},  // over 2 GiB
      {false, true, INT_MAX - 8, 1, 0, 1, 1},  // fits, but not widened by 20 columns
  };
  for (int bits : {1, 2})
    for (const auto& r : refused) {
      Bytes out(64, kSentinel);
      const Call c{r.width, r.height, r.type, r.cellWidth, r.cellHeight, 0, true};
      EXPECT_EQ(Enter(bits, c, r.source ? image.data() : nullptr, r.output ? out.data() : nullptr),
                0)
          << r.width << "x" << r.height << " type " << r.type;
      EXPECT_EQ(out, Bytes(64, kSentinel));
      EXPECT_FALSE(g_useTemplateDiffusion);
    }
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
    const Call c{133, 61, g.type, 1, 1, g.dotMode, false};
    EXPECT_EQ(test::Fingerprint(Screen(g.bits, c)), g.fingerprint)
        << g.bits << "-bit type " << g.type;
  }
}

// A photograph-like scene: a lit sphere on a graded background, a white sky band, a dark
// frame edge and sensor-like noise; its row padding holds 0x40 + column.
Bytes NaturalImage(int width, int height) {
  uint32_t seed = 2024;
  Bytes image = test::GreyRaster(width, height, [&](int x, int y) {
    seed = seed * 1664525u + 1013904223u;
    const int noise = static_cast<int>(seed >> 29) - 3;
    if (y < height / 8) return static_cast<uint8_t>(255);  // blown-out sky
    const double dx = x - width * 0.6, dy = y - height * 0.55, r = height * 0.3;
    double grey = 60.0 + 150.0 * x / width + 30.0 * y / height;
    if (dx * dx + dy * dy < r * r) grey = 235.0 - 200.0 * (dx + dy + 1.4 * r) / (2.8 * r);
    if (x < width / 20) grey = 8.0;
    const int v = static_cast<int>(grey) + noise;
    return static_cast<uint8_t>(v < 0 ? 0 : v > 254 ? 254 : v);
  });
  for (int y = 0; y < height; ++y)
    for (int x = width; x < test::Stride8(width); ++x)
      image[y * test::Stride8(width) + x] = 0x40 + x;
  return image;
}

// The caller's image through the error-diffusion screen (type 34): settled outputs at both
// depths, on whole-pixel cells and on enlarged and uneven cells.
TEST_F(ImageEntry, ErrorDiffusedImageMatchesItsGoldenFingerprints) {
  const struct {
    int bits, cellWidth, cellHeight, dotMode;
    const char* fingerprint;
  } golden[] = {
      {1, 1, 1, 0, "5fe5f2b717ee0f9f"}, {1, 1, 1, 1, "06e7a373fc7555ea"},
      {1, 3, 2, 0, "738649f62528bbf3"}, {1, 1, 2, 0, "b3589fb83f674ecf"},
      {2, 1, 1, 0, "0d7648fa693850bf"}, {2, 2, 1, 1, "e9a71297ee60e1f0"},
  };
  const Bytes image = NaturalImage(777, 555);
  for (const auto& g : golden) {
    const Call c{777, 555, 34, g.cellWidth, g.cellHeight, g.dotMode, false};
    EXPECT_EQ(test::Fingerprint(Screen(g.bits, c, image)), g.fingerprint)
        << g.bits << "-bit cells " << g.cellWidth << "x" << g.cellHeight << " mode " << g.dotMode;
  }
}

}  // namespace
