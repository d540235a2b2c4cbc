// Loading stored masks: decoding and normalisation, the level table reset, the caller's bytes
// left alone, and every malformed mask refused without a trace.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <vector>

#include "interface/globals.h"
#include "mask/dither_mask_generator.h"
#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::StoredMask;

CDitherMaskGenerator& Concrete(const test::MaskGeneratorPtr& object) {
  return dynamic_cast<CDitherMaskGenerator&>(*object);
}

std::vector<int32_t> Held(const CDitherMaskGenerator& mask) {
  const int64_t n = static_cast<int64_t>(mask.planeCount) * mask.maskHeight * mask.maskWidth;
  return std::vector<int32_t>(mask.thresholds.get(), mask.thresholds.get() + n);
}

bool Load(const test::MaskGeneratorPtr& object, const std::vector<uint8_t>& stored) {
  return object->LoadMask(stored.data(), static_cast<int>(stored.size()));
}

TEST(LoadMask, NewObjectHoldsNoMask) {
  auto object = test::NewMaskGenerator();
  const CDitherMaskGenerator& mask = Concrete(object);
  EXPECT_EQ(mask.tag, 1);
  EXPECT_EQ(mask.planeCount, 1);
  EXPECT_EQ(mask.thresholds, nullptr);
}

TEST(LoadMask, DecodesHeaderAndNormalisesThresholdsToTheScreeningScale) {
  auto object = test::NewMaskGenerator();
  const auto stored = StoredMask(2, 1, 4, 1000, {1000, 500, 0, 999, 1, 2000, -5, -1000}, 77);
  const auto before = stored;
  ASSERT_TRUE(Load(object, stored));
  EXPECT_EQ(stored, before) << "the caller's bytes must stay as they were";
  const CDitherMaskGenerator& mask = Concrete(object);
  EXPECT_EQ(mask.tag, 77);
  EXPECT_EQ(mask.planeCount, 2);
  EXPECT_EQ(mask.maskHeight, 1);
  EXPECT_EQ(mask.maskWidth, 4);
  EXPECT_EQ(mask.maxThreshold, 1000);
  // trunc(t / M * 254) for every t: M -> 254, M/2 -> 127, truncation toward zero on both
  // sides of 0, and nothing held back to 0..254.
  EXPECT_EQ(Held(mask), (std::vector<int32_t>{254, 127, 0, 253, 0, 508, -1, -254}));
}

// A negative threshold makes even a white pixel a dot; thresholds above 254 never dot. The
// screen of such a mask agrees with the one of a mask that holds only 0..255.
TEST(LoadMask, NegativeThresholdsDotEvenWhitePixels) {
  const int width = 40;
  std::vector<int32_t> raw(8);
  for (int i = 0; i < 8; ++i) raw[i] = 100 * i - 300;  // -300 .. 400 with M 254
  auto object = test::NewMaskGenerator();
  ASSERT_TRUE(Load(object, StoredMask(1, 1, 8, 254, raw)));
  for (int bits : {1, 2}) {
    const int stride = test::Stride(width, bits);
    for (int grey : {255, 0, 100}) {
      const std::vector<uint8_t> source(width, static_cast<uint8_t>(grey));
      std::vector<uint8_t> out(stride, 0xEE);
      ASSERT_TRUE(object->Dither(source.data(), out.data(), stride, width, 1, 0, 0, 0, 1, 1, bits));
      for (int x = 0; x < width; ++x) {
        const int code = (out[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1);
        EXPECT_EQ(code != 0, 255 - grey > raw[x % 8])
            << bits << " bits, grey " << grey << ", x " << x;
      }
    }
  }
}

TEST(LoadMask, NormalisationIsExactAtMaximumAndHalfForAnyM) {
  for (int32_t m : {1, 2, 254, 255, 1000, 65534, 65535, INT_MAX - 1, INT_MAX}) {
    auto object = test::NewMaskGenerator();
    ASSERT_TRUE(Load(object, StoredMask(1, 1, 2, m, {m, m / 2})));
    const auto held = Held(Concrete(object));
    EXPECT_EQ(held[0], 254) << "M " << m;
    // An even M halves exactly; an odd one truncates just below.
    EXPECT_EQ(held[1], m % 2 == 0 ? 127 : (m == 1 ? 0 : 126)) << "M " << m;
  }
}

TEST(LoadMask, ResetsTheLevelTableLikeInit) {
  KORVEL_Init(50);
  const int width = 64, height = 16;
  test::Bytes afterInit(test::Stride(width, 1) * height), afterLoad(afterInit.size());
  ASSERT_EQ(KORVEL_GetTempateData_1Bit(afterInit.data(), width, height, 37), 1);

  for (int i = 0; i < kLevelCount; ++i) g_levelAmount[i] = 2550 - 10 * i;  // a tone curve
  auto object = test::NewMaskGenerator();
  ASSERT_TRUE(Load(object, StoredMask(1, 1, 1, 1, {0})));
  for (int i = 0; i < kLevelCount; ++i) ASSERT_EQ(g_levelAmount[i], g_defaultLevelAmount[i]);
  ASSERT_EQ(KORVEL_GetTempateData_1Bit(afterLoad.data(), width, height, 37), 1);
  EXPECT_EQ(afterLoad, afterInit);
}

TEST(LoadMask, SecondLoadReplacesAndReleaseForgets) {
  auto object = test::NewMaskGenerator();
  ASSERT_TRUE(Load(object, StoredMask(1, 1, 2, 254, {10, 20})));
  ASSERT_TRUE(Load(object, StoredMask(3, 1, 1, 254, {30, 40, 50})));
  const CDitherMaskGenerator& mask = Concrete(object);
  EXPECT_EQ(Held(mask), (std::vector<int32_t>{30, 40, 50}));
  EXPECT_TRUE(object->ReleaseMask());
  EXPECT_EQ(mask.thresholds, nullptr);
  EXPECT_TRUE(object->ReleaseMask());
  // A mask still held when the object is destroyed is freed with it (the leak checker of the
  // sanitizer build watches this).
  ASSERT_TRUE(Load(object, StoredMask(1, 1, 2, 254, {10, 20})));
}

// A header with the given words and as many threshold bytes as the length asks for.
std::vector<uint8_t> Malformed(std::vector<int32_t> header, int extraBytes) {
  std::vector<uint8_t> stored = StoredMask(header);
  stored.resize(stored.size() + extraBytes, 0x5A);
  return stored;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> stored, size_t length) {
  stored.resize(length);
  return stored;
}

TEST(LoadMask, MalformedMasksAreRefusedKeepingMaskAndLevelTable) {
  auto object = test::NewMaskGenerator();
  ASSERT_TRUE(Load(object, StoredMask(1, 1, 2, 254, {10, 20}, 5)));
  g_levelAmount[3] = 1234;

  const struct {
    const char* what;
    std::vector<uint8_t> stored;
  } cases[] = {
      {"header cut short", Cut(StoredMask(1, 1, 1, 254, {0}), 19)},
      {"no planes", Malformed({1, 0, 1, 1, 254}, 0)},
      {"negative planes", Malformed({1, -1, 1, 1, 254}, 4)},
      {"no rows", Malformed({1, 1, 0, 1, 254}, 0)},
      {"negative columns", Malformed({1, 1, 1, -4, 254}, 4)},
      {"zero maximum", StoredMask(1, 1, 1, 0, {0})},
      {"negative maximum", StoredMask(1, 1, 1, -254, {0})},
      {"one byte short", Malformed({1, 1, 2, 2, 254}, 15)},
      {"one byte long", Malformed({1, 1, 2, 2, 254}, 17)},
      {"size wrapping to 32 bits", Malformed({1, 1 << 16, 1 << 16, 1, 254}, 4)},
      {"size wrapping to 64 bits", Malformed({1, INT_MAX, INT_MAX, INT_MAX, 254}, 4)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(object, c.stored)) << c.what;
  }
  EXPECT_FALSE(object->LoadMask(nullptr, 24));
  EXPECT_FALSE(object->LoadMask(StoredMask(1, 1, 1, 254, {0}).data(), -24));

  const CDitherMaskGenerator& mask = Concrete(object);
  EXPECT_EQ(mask.tag, 5);
  EXPECT_EQ(Held(mask), (std::vector<int32_t>{10, 20}));
  EXPECT_EQ(g_levelAmount[3], 1234);
  KORVEL_Init(50);
}

TEST(LoadMask, MoreThanOneGibibyteOfThresholdsIsRefusedBeforeReadingThem) {
  // 2^28 + 1 thresholds: the length is representable and matches, but the size is over the
  // limit. Only the header is read, so a 20-byte buffer stands for the whole mask.
  auto object = test::NewMaskGenerator();
  const auto header = StoredMask({1, 1, 1 << 14, (1 << 14) + 1, 254});
  const int length = 20 + 4 * (1 << 14) * ((1 << 14) + 1);
  EXPECT_FALSE(object->LoadMask(header.data(), length));
  EXPECT_EQ(Concrete(object).thresholds, nullptr);
}

}  // namespace
