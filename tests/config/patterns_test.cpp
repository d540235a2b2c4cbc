// The test patterns of every algorithm number, wide and tall (the line overlay draws differently
// on each), as golden rasters; the caller's image and unknown numbers are left as they are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "config/compensation.h"
#include "config/data_dir.h"
#include "support/golden.h"
#include "support/raster.h"

namespace {

test::Bytes Draw(int algorithm, int rows, int cols, int factor, unsigned seed) {
  test::Bytes raster(static_cast<size_t>(test::Stride(cols, 8)) * rows, 0xA5);
  std::srand(seed);
  SetupCompensation(raster.data(), rows, cols, algorithm, factor);
  return raster;
}

TEST(Patterns, EveryAlgorithmWideAndTall) {
  test::GoldenFile golden("patterns");
  test::ScopedDataDir noFiles;  // the profile (15) reads as all 0 %
  for (int algorithm = -1; algorithm <= 16; ++algorithm)
    for (const auto& [rows, cols] : {std::pair{37, 113}, std::pair{150, 101}})
      golden.Check("pattern/" + std::to_string(algorithm) + "/" + std::to_string(rows),
                   test::Fingerprint(Draw(algorithm, rows, cols, 1 + algorithm % 2, 2000)));
  EXPECT_EQ(Draw(11, 9, 13, 1, 0), test::Bytes(16 * 9, 0xA5));
}

}  // namespace
