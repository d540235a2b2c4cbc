// Screening against a loaded mask: the mask walk (offsets of any sign, steps, planes), 1- and
// 2-bit packing, padding, the dot rule at its edges, and every refused call.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstdint>
#include <vector>

#include "mask/dither_mask_generator.h"
#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::StoredMask;

constexpr uint8_t kFill = 0xEE;  // output bytes before a call

struct Call {
  int width = 8, height = 1, plane = 0, xOffset = 0, yOffset = 0, xStep = 1, yStep = 1;
  int bits = 1;
  int dstStride = -1;  // -1: the packed stride of the depth
};

int Depth(int bits) {
  return bits == 1 ? 1 : 2;
}

int StrideOf(const Call& c) {
  return c.dstStride >= 0 ? c.dstStride : test::Stride(c.width, Depth(c.bits));
}

Bytes Dither(IDitherMaskGenerator& mask, const Bytes& source, const Call& c, bool* ok = nullptr) {
  Bytes out(static_cast<size_t>(StrideOf(c)) * c.height, kFill);
  const bool result = mask.Dither(source.data(), out.data(), StrideOf(c), c.width, c.height,
                                  c.plane, c.xOffset, c.yOffset, c.xStep, c.yStep, c.bits);
  if (ok)
    *ok = result;
  else
    EXPECT_TRUE(result);
  return out;
}

// Dot (0 or 1) at pixel x of row y of an output with the given stride.
int DotAt(const Bytes& out, int stride, int bits, int x, int y) {
  const uint8_t* row = out.data() + static_cast<size_t>(stride) * y;
  if (bits == 1) return (row[x >> 3] >> (7 - (x & 7))) & 1;
  const int pair = (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
  EXPECT_TRUE(pair == 0 || pair == 3) << "a 2-bit dot is 11";
  return pair == 3;
}

// The screening rule written out directly, with 64-bit modular arithmetic.
int ExpectedDot(const CDitherMaskGenerator& mask, const Bytes& source, const Call& c, int x,
                int y) {
  const int64_t w = mask.maskWidth, h = mask.maskHeight;
  const int64_t column = (((c.xOffset % w) + w) % w + int64_t{x} * c.xStep) % w;
  const int64_t row = (((c.yOffset % h) + h) % h + int64_t{y} * c.yStep) % h;
  const int32_t threshold = mask.thresholds[(c.plane * h + row) * w + column];
  return 255 - source[static_cast<size_t>(y) * c.width + x] > threshold;
}

Bytes PseudoRandomBytes(size_t n, uint32_t seed) {
  Bytes bytes(n);
  for (auto& b : bytes) seed = seed * 1664525u + 1013904223u, b = static_cast<uint8_t>(seed >> 24);
  return bytes;
}

class MaskDither : public ::testing::Test {
 protected:
  // Two planes of 5 columns x 3 rows with thresholds spread over 0..254.
  void SetUp() override {
    std::vector<int32_t> raw(2 * 3 * 5);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<int32_t>((i * 97 + 13) % 255);
    const Bytes stored = StoredMask(2, 3, 5, 254, raw);
    ASSERT_TRUE(object_->LoadMask(stored.data(), static_cast<int>(stored.size())));
  }
  const CDitherMaskGenerator& mask() { return dynamic_cast<CDitherMaskGenerator&>(*object_); }

  void ExpectMatchesRule(const Call& c) {
    const Bytes source =
        PseudoRandomBytes(static_cast<size_t>(c.width) * c.height,
                          static_cast<uint32_t>(c.width) * 31u + static_cast<uint32_t>(c.xStep));
    const Bytes out = Dither(*object_, source, c);
    const int stride = StrideOf(c);
    const int usedBytes = (c.width * Depth(c.bits) + 7) / 8;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        ASSERT_EQ(DotAt(out, stride, c.bits, x, y), ExpectedDot(mask(), source, c, x, y))
            << "x " << x << " y " << y << " width " << c.width << " offsets " << c.xOffset << ","
            << c.yOffset << " steps " << c.xStep << "," << c.yStep << " bits " << c.bits;
      }
      // Bits after the last pixel and bytes up to the stride are zero.
      for (int x = c.width; x < usedBytes * 8 / Depth(c.bits); ++x) {
        ASSERT_EQ(DotAt(out, stride, c.bits, x, y), 0);
      }
      for (int b = usedBytes; b < stride; ++b)
        ASSERT_EQ(out[static_cast<size_t>(y) * stride + b], 0);
    }
  }

  test::MaskGeneratorPtr object_ = test::NewMaskGenerator();
};

TEST_F(MaskDither, FollowsTheRuleForAnyWalkDepthAndShape) {
  const int offsets[] = {0, 3, -1, -5, -6, 11, -2147483647 - 1, 2147483647};
  const int steps[] = {0, 1, 2, 4, 5, 7, 13, 2147483647};
  for (int bits : {1, 2, 0, 5}) {
    for (int width : {1, 4, 7, 8, 10, 17, 33}) {
      for (int offset : offsets) {
        for (int step : steps) {
          Call c;
          c.width = width, c.height = 4, c.bits = bits, c.plane = (width ^ step) & 1;
          c.xOffset = offset, c.yOffset = offset / -3, c.xStep = step,
          c.yStep = steps[(width + 3) % 8];
          ExpectMatchesRule(c);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

TEST_F(MaskDither, WideStrideIsZeroPastThePixels) {
  Call c;
  c.width = 10, c.height = 3, c.dstStride = 9;
  ExpectMatchesRule(c);
  c.bits = 2;
  ExpectMatchesRule(c);
}

TEST(MaskDitherRule, WhiteNeverDotsBlackAlwaysDotsEqualityGivesNoDot) {
  auto object = test::NewMaskGenerator();
  std::vector<int32_t> raw(256);
  for (int i = 0; i < 255; ++i) raw[i] = i;
  raw[255] = 254;
  const Bytes stored = StoredMask(1, 1, 256, 254, raw);
  ASSERT_TRUE(object->LoadMask(stored.data(), static_cast<int>(stored.size())));
  Call c;
  c.width = 256;
  for (int bits : {1, 2}) {
    c.bits = bits;
    const int stride = StrideOf(c);
    EXPECT_EQ(test::CountDots(Dither(*object, Bytes(256, 255), c), 256, 1, Depth(bits)), 0);
    EXPECT_EQ(test::CountDots(Dither(*object, Bytes(256, 0), c), 256, 1, Depth(bits)), 256);
    // Pixel x has 255 - p equal to its threshold x (no dot), then one more ink (a dot).
    Bytes equal(256), above(256);
    for (int x = 0; x < 256; ++x) {
      equal[x] = static_cast<uint8_t>(255 - raw[x]);
      above[x] = static_cast<uint8_t>(254 - raw[x]);
    }
    const Bytes none = Dither(*object, equal, c), all = Dither(*object, above, c);
    for (int x = 0; x < 256; ++x) {
      EXPECT_EQ(DotAt(none, stride, bits, x, 0), 0) << x;
      EXPECT_EQ(DotAt(all, stride, bits, x, 0), 1) << x;
    }
  }
}

TEST(MaskDitherRule, OffsetsAndStepsPickTheDocumentedColumnsAndRows) {
  // An 8 x 2 mask whose only low threshold is at column 7 of row 1: a mid-grey pixel dots there
  // and nowhere else.
  auto object = test::NewMaskGenerator();
  std::vector<int32_t> raw(16, 254);
  raw[8 + 7] = 0;
  const Bytes stored = StoredMask(1, 2, 8, 254, raw);
  ASSERT_TRUE(object->LoadMask(stored.data(), static_cast<int>(stored.size())));
  const Bytes grey(16, 128);
  Call c;
  c.width = 8, c.height = 2;
  c.xOffset = -1;  // starts at column 7
  EXPECT_EQ(test::Hex(Dither(*object, grey, c)), "00 00 00 00 80 00 00 00");
  c.xOffset = -8;  // starts at column 0
  EXPECT_EQ(test::Hex(Dither(*object, grey, c)), "00 00 00 00 01 00 00 00");
  c.xOffset = 7, c.xStep = 0;  // every pixel of a row reads column 7
  EXPECT_EQ(test::Hex(Dither(*object, grey, c)), "00 00 00 00 FF 00 00 00");
  c.yOffset = -1, c.yStep = 0;  // every row reads row 1
  EXPECT_EQ(test::Hex(Dither(*object, grey, c)), "FF 00 00 00 FF 00 00 00");
  c.yOffset = 0, c.yStep = 3;  // rows 0, 1
  c.xOffset = 1, c.xStep = 3;  // columns 1, 4, 7, 2, 5, 0, 3, 6
  EXPECT_EQ(test::Hex(Dither(*object, grey, c)), "00 00 00 00 20 00 00 00");
  c.bits = 2, c.width = 10, c.xStep = 1, c.xOffset = 0, c.yOffset = 1;
  EXPECT_EQ(test::Hex(Dither(*object, Bytes(20, 128), c)), "00 03 00 00 00 00 00 00");
}

TEST_F(MaskDither, EmptyAreasAreAccepted) {
  const Bytes source(1, 0);
  Bytes out(8, kFill);
  EXPECT_TRUE(object_->Dither(source.data(), out.data(), 4, 8, 0, 0, 0, 0, 1, 1, 1));
  EXPECT_EQ(out, Bytes(8, kFill)) << "no row, nothing written";
  EXPECT_TRUE(object_->Dither(source.data(), out.data(), 4, 0, 2, 0, 0, 0, 1, 1, 2));
  EXPECT_EQ(out, Bytes(8, 0)) << "empty rows are still cleared";
}

TEST_F(MaskDither, RefusedCallsLeaveTheOutputUntouched) {
  const Bytes source(64, 100);
  Bytes out(64, kFill);
  auto refused = [&](IDitherMaskGenerator& m, const uint8_t* src, uint8_t* dst, int stride,
                     int width, int height, int plane, int xStep, int yStep, int bits) {
    const bool ok = m.Dither(src, dst, stride, width, height, plane, 0, 0, xStep, yStep, bits);
    return !ok && out == Bytes(64, kFill);
  };
  auto& m = *object_;
  const uint8_t* s = source.data();
  uint8_t* d = out.data();
  EXPECT_TRUE(refused(m, nullptr, d, 4, 8, 2, 0, 1, 1, 1)) << "null source";
  EXPECT_TRUE(refused(m, s, nullptr, 4, 8, 2, 0, 1, 1, 1)) << "null output";
  EXPECT_TRUE(refused(m, s, d, 4, 8, 2, -1, 1, 1, 1)) << "plane -1";
  EXPECT_TRUE(refused(m, s, d, 4, 8, 2, 2, 1, 1, 1)) << "plane P";
  EXPECT_TRUE(refused(m, s, d, 4, -1, 2, 0, 1, 1, 1)) << "negative width";
  EXPECT_TRUE(refused(m, s, d, 4, 8, -1, 0, 1, 1, 1)) << "negative height";
  EXPECT_TRUE(refused(m, s, d, 4, 8, 2, 0, -1, 1, 1)) << "negative xStep";
  EXPECT_TRUE(refused(m, s, d, 4, 8, 2, 0, 1, -1, 1)) << "negative yStep";
  EXPECT_TRUE(refused(m, s, d, 1, 9, 2, 0, 1, 1, 1)) << "9 pixels need 2 bytes at 1 bit";
  EXPECT_TRUE(refused(m, s, d, 2, 9, 2, 0, 1, 1, 2)) << "9 pixels need 3 bytes at 2 bits";
  EXPECT_TRUE(refused(m, s, d, 2, 9, 2, 0, 1, 1, 7)) << "any bits but 1 is 2-bit";
  EXPECT_TRUE(refused(m, s, d, -4, 0, 2, 0, 1, 1, 1)) << "negative stride";
  // The smallest strides are accepted.
  EXPECT_TRUE(m.Dither(s, d, 2, 9, 2, 0, 0, 0, 1, 1, 1));
  EXPECT_TRUE(m.Dither(s, d, 3, 9, 2, 0, 0, 0, 1, 1, 2));

  out.assign(64, kFill);
  ASSERT_TRUE(m.ReleaseMask());
  EXPECT_TRUE(refused(m, s, d, 4, 8, 2, 0, 1, 1, 1)) << "released mask";
  auto fresh = test::NewMaskGenerator();
  EXPECT_TRUE(refused(*fresh, s, d, 4, 8, 2, 0, 1, 1, 1)) << "never loaded";
}

}  // namespace

namespace {

TEST_F(MaskDither, PinnedOutputs) {
  Call c;
  c.width = 61, c.height = 23, c.xOffset = -3, c.yOffset = 7, c.xStep = 2, c.yStep = 1;
  Bytes ramp(static_cast<size_t>(c.width) * c.height);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 255 / ramp.size());
  EXPECT_EQ(test::Fingerprint(Dither(*object_, ramp, c)), "98687c7b104ffa4d");
  c.bits = 2, c.plane = 1, c.xStep = 1, c.yStep = 4;
  EXPECT_EQ(test::Fingerprint(Dither(*object_, ramp, c)), "1cfe74103ac461f3");
}

}  // namespace
