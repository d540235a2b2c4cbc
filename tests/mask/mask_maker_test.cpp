// Masks from the mask maker: they load, every screening level holds its share of the plane, a
// flat grey screens to its coverage, each plane is its own blue-noise pattern, and bad options
// are refused.
#include "maskmaker/mask_maker.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "bluenoise/void_and_cluster.h"
#include "mask/dither_mask_generator.h"
#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;

MaskMakerOptions Options(int planes, int side, int32_t maxThreshold, uint32_t seed = 1) {
  MaskMakerOptions options;
  options.planes = planes;
  options.width = side;
  options.height = side;
  options.maxThreshold = maxThreshold;
  options.seed = seed;
  return options;
}

test::MaskGeneratorPtr Loaded(const Bytes& stored) {
  auto object = test::NewMaskGenerator();
  EXPECT_TRUE(object->LoadMask(stored.data(), static_cast<int>(stored.size())));
  return object;
}

// 1-bit screen of a flat grey over width x height.
Bytes ScreenFlat(IDitherMaskGenerator& mask, int grey, int width, int height, int plane,
                 int xOffset = 0, int yOffset = 0) {
  const Bytes source(static_cast<size_t>(width) * height, static_cast<uint8_t>(grey));
  Bytes out(static_cast<size_t>(test::Stride(width, 1)) * height);
  EXPECT_TRUE(mask.Dither(source.data(), out.data(), test::Stride(width, 1), width, height, plane,
                          xOffset, yOffset, 1, 1, 1));
  return out;
}

TEST(MaskMaker, MasksLoadWithTheirHeaderAndEveryLevelEquallyFilled) {
  for (int32_t m : {254, 255, 1000, 65535, INT_MAX}) {
    const Bytes stored = MakeStoredMask(Options(2, 40, m));
    ASSERT_EQ(stored.size(), 20u + 4u * 2 * 40 * 40) << "M " << m;
    auto object = Loaded(stored);
    const auto& mask = dynamic_cast<CDitherMaskGenerator&>(*object);
    EXPECT_EQ(mask.planeCount, 2);
    EXPECT_EQ(mask.maskHeight, 40);
    EXPECT_EQ(mask.maskWidth, 40);
    EXPECT_EQ(mask.maxThreshold, m);
    for (int p = 0; p < 2; ++p) {
      std::vector<int> perLevel(256, 0);
      for (int i = 0; i < 40 * 40; ++i) ++perLevel[mask.thresholds[p * 1600 + i]];
      for (int level = 0; level < 255; ++level) {
        EXPECT_TRUE(perLevel[level] == 6 || perLevel[level] == 7)  // 1600 / 255 = 6.27
            << "M " << m << " plane " << p << " level " << level << ": " << perLevel[level];
      }
      EXPECT_EQ(perLevel[255], 0);
    }
  }
}

TEST(MaskMaker, RawThresholdsSpanZeroToM) {
  const auto raw = BlueNoiseRawThresholds(32, 32, 100000, 3);
  ASSERT_EQ(raw.size(), 1024u);
  EXPECT_EQ(*std::min_element(raw.begin(), raw.end()), 0);
  EXPECT_EQ(*std::max_element(raw.begin(), raw.end()), 100000);
}

TEST(MaskMaker, FlatGreyScreensToItsCoverage) {
  const Bytes stored = MakeStoredMask(Options(3, 64, 65535, 11));
  auto object = Loaded(stored);
  // Whole tiles, and a size with partial tiles and offsets.
  const int sizes[][4] = {{128, 128, 0, 0}, {200, 150, -37, 1000}};
  for (const auto& size : sizes) {
    for (int plane = 0; plane < 3; ++plane) {
      for (int grey : {0, 1, 3, 17, 64, 127, 128, 191, 250, 254, 255}) {
        const Bytes out = ScreenFlat(*object, grey, size[0], size[1], plane, size[2], size[3]);
        const double coverage =
            static_cast<double>(test::CountDots(out, size[0], size[1], 1)) / (size[0] * size[1]);
        EXPECT_NEAR(coverage, (255.0 - grey) / 255.0, 0.01)
            << size[0] << " x " << size[1] << " plane " << plane << " grey " << grey;
      }
    }
  }
}

TEST(MaskMaker, EachPlaneIsItsOwnBlueNoisePattern) {
  constexpr int kSide = 64;
  const Bytes stored = MakeStoredMask(Options(3, kSide, 65535, 42));
  auto object = Loaded(stored);
  std::vector<Bytes> quarterTone;
  for (int plane = 0; plane < 3; ++plane) {
    for (int grey : {223, 191, 127}) {  // 1/8, 1/4 and 1/2 of the pixels
      const Bytes out = ScreenFlat(*object, grey, kSide, kSide, plane);
      std::vector<double> dots(kSide * kSide);
      for (int i = 0; i < kSide * kSide; ++i)
        dots[i] = test::PixelAt(out, kSide, 1, i % kSide, i / kSide);
      const double g = (255.0 - grey) / 255.0;
      const auto spectrum = RadialPowerSpectrum(dots, kSide, kSide);
      const int lowest = static_cast<int>(std::sqrt(g) * kSide / 3);
      double low = 0.0;
      for (int k = 1; k <= lowest; ++k) low += spectrum[k] / lowest;
      EXPECT_LT(low, 0.1 * g * (1 - g)) << "plane " << plane << " grey " << grey;
      if (grey == 191) quarterTone.push_back(out);
    }
  }
  EXPECT_NE(quarterTone[0], quarterTone[1]);
  EXPECT_NE(quarterTone[1], quarterTone[2]);
  EXPECT_NE(quarterTone[0], quarterTone[2]);
}

TEST(MaskMaker, SameOptionsSameBytesAndAPinnedSmallMask) {
  const MaskMakerOptions options = Options(2, 16, 254, 7);
  const Bytes stored = MakeStoredMask(options);
  EXPECT_EQ(stored, MakeStoredMask(options));
  EXPECT_NE(stored, MakeStoredMask(Options(2, 16, 254, 8)));
  EXPECT_EQ(test::Fingerprint(stored), "3fc3c9f41105dfd8");

  // The file holds the same bytes.
  const std::string path = ::testing::TempDir() + "korvel_mask_maker_test.kmask";
  ASSERT_TRUE(WriteStoredMask(options, path));
  std::ifstream file(path, std::ios::binary);
  const Bytes written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, stored);
  std::remove(path.c_str());
  EXPECT_FALSE(WriteStoredMask(options, ::testing::TempDir() + "no/such/folder/mask"));
}

TEST(MaskMaker, RefusesOptionsItCannotHonour) {
  auto refused = [](MaskMakerOptions o) { return MakeStoredMask(o).empty(); };
  MaskMakerOptions o = Options(1, 8, 254);
  EXPECT_FALSE(refused(o));
  o.planes = 0;
  EXPECT_TRUE(refused(o));
  o = Options(1, 0, 254);
  EXPECT_TRUE(refused(o));
  o = Options(1, 8, 0);
  EXPECT_TRUE(refused(o));
  o = Options(1, 8, 254);
  o.sigma = 0.0;
  EXPECT_TRUE(refused(o));
  o = Options(1, 2048, 254);  // a plane over the limit
  EXPECT_TRUE(refused(o));
  o = Options(300, 1024, 254);  // over 1 GiB of thresholds
  EXPECT_TRUE(refused(o));
  EXPECT_TRUE(BlueNoiseRawThresholds(8, -8, 254, 1).empty());
}

}  // namespace
