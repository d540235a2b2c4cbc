// The test patterns drawn for each algorithm number.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "config/compensation.h"
#include "data_dir.h"
#include "image/line_overlay.h"
#include "support/raster.h"

namespace {

constexpr uint8_t kFill = 0xA5;  // what the raster held before the pattern

struct Pattern {
  int rows, cols;
  test::Bytes bytes;
  int stride() const { return test::Stride(cols, 8); }
  int At(int r, int c) const { return bytes[static_cast<size_t>(r) * stride() + c]; }
};

Pattern Draw(int algorithm, int rows, int cols, int factor = 1, unsigned seed = 0) {
  Pattern p{rows, cols, test::Bytes(static_cast<size_t>(test::Stride(cols, 8)) * rows, kFill)};
  std::srand(seed);
  EXPECT_EQ(SetupCompensation(p.bytes.data(), rows, cols, algorithm, factor), 1);
  return p;
}

// Value every pixel of row r has, or -1 when the row is not uniform.
int RowValue(const Pattern& p, int r) {
  for (int c = 1; c < p.cols; ++c)
    if (p.At(r, c) != p.At(r, 0)) return -1;
  return p.At(r, 0);
}

int Background(int y, int rows) {
  return 255 - static_cast<int>((0.95 / rows * y + 0.05) * 255 * 0.8);
}
int BarValue(int y, int rows) {
  return 255 - static_cast<int>((0.6 / rows * y + 0.4) * 255);
}

TEST(Compensation, CallerImageAndUnknownNumbersStayAndPaddingIsNeverWritten) {
  for (int algorithm : {11, 2, 12, 13, 14, 16, -1}) {
    EXPECT_EQ(Draw(algorithm, 9, 13).bytes, test::Bytes(16 * 9, kFill)) << algorithm;
  }
  for (int algorithm : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 15}) {
    const Pattern p = Draw(algorithm, 9, 13);
    for (int r = 0; r < 9; ++r)
      for (int c = 13; c < 16; ++c) ASSERT_EQ(p.At(r, c), kFill) << algorithm;
  }
}

TEST(Compensation, VerticalRampAndMidGrey) {
  const Pattern grey = Draw(3, 5, 7);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(RowValue(grey, r), 127);
  for (int rows : {7, 300}) {
    const Pattern ramp = Draw(0, rows, 5);
    for (int r = 0; r < rows; ++r)
      ASSERT_EQ(RowValue(ramp, r), 254 - static_cast<int>(static_cast<double>(r) / rows * 254));
  }
  EXPECT_EQ(RowValue(Draw(0, 300, 5), 299), 1);
}

TEST(Compensation, RampTilesAreNotchedRepeatedAndLeaveWhiteColumns) {
  const Pattern p = Draw(1, 20, 205);  // tiles of 20 columns, 5 columns left over
  const int row10[] = {125, 93, 122}, row19[] = {15, 6, 13};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p.At(10, (i * 19 + 1) / 2), row10[i]);
    EXPECT_EQ(p.At(19, (i * 19 + 1) / 2), row19[i]);
  }
  EXPECT_EQ(RowValue(p, 0), -1);  // the tile's left half is 250, but the leftover is white
  for (int r = 0; r < 20; ++r) {
    for (int c = 0; c < 200; ++c) ASSERT_EQ(p.At(r, c), p.At(r, c % 20));
    for (int c = 200; c < 205; ++c) ASSERT_EQ(p.At(r, c), 255);
  }
  const Pattern narrow = Draw(1, 6, 25);  // ten 2-column tiles
  for (int c = 2; c < 20; ++c) EXPECT_EQ(narrow.At(3, c), narrow.At(3, c % 2));
  EXPECT_EQ(narrow.At(3, 20), 255);
  const Pattern tooNarrow = Draw(4, 6, 49);  // no tile at all
  for (int r = 0; r < 6; ++r) EXPECT_EQ(RowValue(tooNarrow, r), 255);
  const Pattern fifty = Draw(4, 6, 103);
  EXPECT_EQ(fifty.At(3, 2), fifty.At(3, 0));
  EXPECT_EQ(fifty.At(3, 100), 255);
}

TEST(Compensation, BarsStandOnTheInvertedRampWithOneRandomHeightEach) {
  const int rows = 40, cols = 22;
  for (int factor : {1, 2}) {
    const int width = 4 / factor;
    const Pattern p = Draw(5, rows, cols, factor, 9);
    std::srand(9);
    for (int start = 0; start < cols; start += 2 * width) {
      const int height = (std::rand() % 4 + 1) * rows / 4;
      for (int c = start; c < cols && c < start + 2 * width; ++c) {
        const bool bar = c < start + width;
        for (int y = 0; y < rows; ++y) {
          ASSERT_EQ(p.At(y, c), bar && y >= rows - height ? BarValue(y, rows) : Background(y, rows))
              << factor << " " << c << " " << y;
        }
      }
    }
    EXPECT_EQ(Draw(5, rows, cols, factor, 9).bytes, p.bytes);
  }
  EXPECT_EQ(Background(0, rows), 245);
  EXPECT_EQ(BarValue(0, rows), 153);

  // Bars that would be 0 wide are not drawn, and use no random numbers.
  for (int factor : {8, 0, -1}) {
    const Pattern p = Draw(5, rows, cols, factor, 9);
    for (int y = 0; y < rows; ++y) EXPECT_EQ(RowValue(p, y), Background(y, rows)) << factor;
    const int next = std::rand();
    std::srand(9);
    EXPECT_EQ(next, std::rand());
  }
}

TEST(Compensation, WaveBarsShiftEachRowBySine) {
  // A seed whose first bar is full height; one bar fits in 8 columns.
  unsigned seed = 0;
  while (std::srand(seed), std::rand() % 4 != 3) ++seed;
  const int rows = 40, cols = 8;
  for (int algorithm : {9, 10}) {
    const Pattern p = Draw(algorithm, rows, cols, 1, seed);
    for (int y = 0; y < rows; ++y) {
      const double s = std::sin(0.2 * y);
      const int shift = algorithm == 9 ? static_cast<int>(-5 * s) : static_cast<int>(5 * s);
      for (int c = 0; c < cols; ++c) {
        const bool bar = c >= -shift && c < 4 - shift;
        ASSERT_EQ(p.At(y, c), bar ? BarValue(y, rows) : Background(y, rows)) << algorithm;
      }
    }
  }
}

TEST(Compensation, ShortRastersHaveEmptyQuarterBars) {
  unsigned seed = 0;
  while (std::srand(seed), std::rand() % 4 != 0) ++seed;
  const Pattern p = Draw(5, 3, 4, 1, seed);  // trunc(0.25 * 3) = 0 rows
  for (int y = 0; y < 3; ++y) EXPECT_EQ(RowValue(p, y), Background(y, 3));
}

TEST(Compensation, LinesAreLaidOverTheRampsAndTiles) {
  const struct { int algorithm, base, angle; } cases[] = {{6, 0, 5}, {7, 0, -5}, {8, 1, 5}};
  for (const auto& c : cases) {
    Pattern expected = Draw(c.base, 30, 64, 1, 2000);
    std::srand(2000);
    ApplyLineOverlay(expected.bytes.data(), 30, 64, c.angle);
    EXPECT_EQ(Draw(c.algorithm, 30, 64, 1, 2000).bytes, expected.bytes) << c.algorithm;
  }
}

TEST(Compensation, ProfileRampComesFromTheLevelsFile) {
  test::ScopedDataDir dir;
  std::string flat = "[QNT_COMPENSATION]\n", rising = flat, over = flat;
  for (int k = 0; k < 7; ++k) {
    flat += "Param" + std::to_string(k) + "=50\n";
    rising += "Param" + std::to_string(k) + "=" + std::to_string(100 * k / 6) + "\n";
    over += "Param" + std::to_string(k) + "=200\n";
  }
  for (int level : {0, -1, 70}) {
    dir.Write(level, flat);
    KORVEL_Init(level);
    const Pattern p = Draw(15, 11, 6);
    for (int r = 0; r < 11; ++r) EXPECT_EQ(RowValue(p, r), 127) << level;
  }
  KORVEL_Init(80);  // no file: white
  EXPECT_EQ(RowValue(Draw(15, 4, 4), 3), 255);
  dir.Write(80, over);  // 255 - 510: the low 8 bits
  EXPECT_EQ(RowValue(Draw(15, 4, 4), 3), 1);
  dir.Write(80, rising);
  const Pattern p = Draw(15, 600, 3);
  EXPECT_EQ(RowValue(p, 0), 255);
  EXPECT_EQ(RowValue(p, 300), static_cast<int>(255 - 50 * 0.01 * 255));
  for (int r = 1; r < 600; ++r) ASSERT_LE(RowValue(p, r), RowValue(p, r - 1));
}

TEST(Compensation, GoldenPatterns) {
  const struct {
    int algorithm, factor;
    unsigned seed;
    const char* fingerprint;
  } cases[] = {
      {1, 1, 0, "f3cd996a69653e81"},    {4, 1, 0, "d5aab1b9529662a9"},
      {5, 1, 0, "9c1716d2c7546639"},    {6, 1, 0, "b017f6962ba9d8ee"},
      {7, 2, 2000, "089133c796598fd7"}, {8, 1, 0, "d55d4199d6e9a59e"},
      {9, 1, 0, "b9ee80e22db41aec"},    {10, 2, 2000, "0343444e929eb2de"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(test::Fingerprint(Draw(c.algorithm, 37, 113, c.factor, c.seed).bytes), c.fingerprint)
        << c.algorithm;
  }
}

}  // namespace
