// The test patterns drawn for each algorithm number.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstdlib>
#include <string>

#include "data_dir.h"
#include "interface/globals.h"
#include "patterns/compensation.h"
#include "support/raster.h"

namespace {

constexpr uint8_t kFill = 0xA5;  // what the raster held before the pattern

struct Pattern {
  int rows, cols;
  test::Bytes bytes;
  int At(int r, int c) const { return bytes[static_cast<size_t>(r) * test::Stride(cols, 8) + c]; }
  // The value of every pixel of row r, or -1 when the row is not uniform.
  int Row(int r) const {
    for (int c = 1; c < cols; ++c)
      if (At(r, c) != At(r, 0)) return -1;
    return At(r, 0);
  }
};

Pattern Draw(int algorithm, int rows, int cols, int factor = 1, unsigned seed = 0) {
  Pattern p{rows, cols, test::Bytes(static_cast<size_t>(test::Stride(cols, 8)) * rows, kFill)};
  std::srand(seed);
  SetupCompensation(g_defaultState, p.bytes.data(), cols, rows, algorithm, factor);
  return p;
}

int Background(int y, int rows) {
  return 255 - int((0.95 / rows * y + 0.05) * 255 * 0.8);
}
int BarValue(int y, int rows) {
  return 255 - int((0.6 / rows * y + 0.4) * 255);
}

TEST(Compensation, CallerImageAndUnknownNumbersStayAndPaddingIsNeverWritten) {
  for (int algorithm : {11, 2, 12, 16, -1})
    EXPECT_EQ(Draw(algorithm, 9, 13).bytes, test::Bytes(16 * 9, kFill)) << algorithm;
  for (int algorithm : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 15}) {
    const Pattern p = Draw(algorithm, 9, 13);
    for (int r = 0; r < 9; ++r)
      for (int c = 13; c < 16; ++c) ASSERT_EQ(p.At(r, c), kFill) << algorithm;
  }
}

TEST(Compensation, RampsMidGreyAndTiles) {
  for (int r = 0; r < 5; ++r) EXPECT_EQ(Draw(3, 5, 7).Row(r), 127);
  const Pattern ramp = Draw(0, 300, 5);
  for (int r = 0; r < 300; ++r) ASSERT_EQ(ramp.Row(r), 254 - int(double(r) / 300 * 254)) << r;
  EXPECT_EQ(ramp.Row(299), 1);

  const Pattern p = Draw(1, 20, 205);  // ten tiles of 20 columns, 5 columns left over
  const int notch[][3] = {{125, 93, 122}, {15, 6, 13}};  // rows 10 and 19, columns 0, 10, 19
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p.At(10, (19 * i + 1) / 2), notch[0][i]);
    EXPECT_EQ(p.At(19, (19 * i + 1) / 2), notch[1][i]);
  }
  for (int r = 0; r < 20; ++r)
    for (int c = 0; c < 205; ++c) ASSERT_EQ(p.At(r, c), c < 200 ? p.At(r, c % 20) : 255);
  const Pattern fifty = Draw(4, 6, 103);  // fifty tiles of 2 columns
  EXPECT_EQ(fifty.At(3, 98), fifty.At(3, 0));
  EXPECT_EQ(fifty.At(3, 100), 255);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(Draw(4, 6, 49).Row(r), 255);  // no tile at all
}

TEST(Compensation, BarsStandOnTheInvertedRampWithOneRandomHeightEach) {
  const int rows = 40, cols = 22;  // the shortest bar covers the bottom 10 rows
  const Pattern p = Draw(5, rows, cols, 1, 9);
  EXPECT_EQ(p.Row(0), -1);
  for (int c = 0; c < cols; ++c) {
    EXPECT_EQ(p.At(rows - 1, c), c % 8 < 4 ? BarValue(rows - 1, rows) : Background(rows - 1, rows));
    EXPECT_EQ(Draw(5, rows, cols, 2, 9).At(rows - 1, c) == BarValue(rows - 1, rows), c % 4 < 2);
  }
  unsigned seed = 0;  // one whose first bar is half the height
  while (std::srand(seed), std::rand() % 4 != 1) ++seed;
  const Pattern half = Draw(5, rows, cols, 1, seed);
  EXPECT_EQ(half.At(20, 0), BarValue(20, rows));
  EXPECT_EQ(half.At(19, 0), Background(19, rows));
  EXPECT_EQ(Background(0, rows), 245);
  EXPECT_EQ(BarValue(0, rows), 153);
  // Bars that would be 0 wide are not drawn and use no random numbers.
  for (int factor : {8, 0, -1}) {
    const Pattern none = Draw(5, rows, cols, factor, 9);
    for (int y = 0; y < rows; ++y) EXPECT_EQ(none.Row(y), Background(y, rows)) << factor;
    const int next = std::rand();
    EXPECT_EQ(next, (std::srand(9), std::rand()));
  }
}

TEST(Compensation, ProfileRampComesFromTheLevelsFile) {
  test::ScopedDataDir dir;
  std::string flat = "[QNT_COMPENSATION]\n", rising = flat, over = flat;
  for (int k = 0; k < 7; ++k) {
    const std::string key = "Param" + std::to_string(k) + "=";
    flat += key + "50\n";
    rising += key + std::to_string(100 * k / 6) + "\n";  // 0, 16, 33, 50, ...
    over += key + "200\n";
  }
  for (int level : {0, -1, 70}) {
    dir.Write(level, flat);
    KORVEL_Init(level);
    const Pattern p = Draw(15, 11, 6);
    for (int r = 0; r < 11; ++r) EXPECT_EQ(p.Row(r), 127) << level;
  }
  KORVEL_Init(80);
  EXPECT_EQ(Draw(15, 4, 4).Row(3), 255);  // no file: white
  dir.Write(80, over);
  EXPECT_EQ(Draw(15, 4, 4).Row(3), 1);  // 255 - 510, low 8 bits
  dir.Write(80, rising);
  const Pattern p = Draw(15, 600, 3);
  EXPECT_EQ(p.Row(0), 255);
  EXPECT_EQ(p.Row(300), 127);
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
  for (const auto& c : cases)
    EXPECT_EQ(test::Fingerprint(Draw(c.algorithm, 37, 113, c.factor, c.seed).bytes), c.fingerprint)
        << c.algorithm;
}

}  // namespace
