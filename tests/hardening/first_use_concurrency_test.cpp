// The screen tables built on first use: two threads that make their first 2-bit calls together
// get complete tables (ThreadSanitizer, which runs the Concurrency suites on their own, sees
// any unsynchronised fill).
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "image/dot_ditherers.h"
#include "image/image_packing.h"

namespace {

void BuildEveryTable() {
  BuildSDotTable();
  BuildPackTables();
  std::vector<unsigned char> source(8 * 4, 0), out(source.size());
  DitherSMDot(source.data(), out.data(), 8, 4);
  DitherSMLDot(source.data(), out.data(), 8, 4);
}

TEST(ConcurrencyFirstUse, TablesBuiltByTwoThreadsAtOnceAreComplete) {
  std::thread first(BuildEveryTable), second(BuildEveryTable);
  first.join();
  second.join();
  for (int v = 0; v < 256; ++v) {
    for (int t = 0; t < 256; ++t) {
      ASSERT_EQ(g_sDotTable[v * 256 + t], v < t ? 170 : 255) << v << ", " << t;
    }
    ASSERT_EQ(g_twoBitLevel[v], v / 85);
    ASSERT_EQ(g_twoBitPack[v], v ^ 0xFF);
  }
  EXPECT_EQ(g_smDotRamp[255], 253);
  EXPECT_EQ(g_smlDotRamp[170], 252);
  EXPECT_EQ(g_smDotTable[255 * 256 + 0], 255);  // white: no dot
  EXPECT_EQ(g_smlDotTable[0 * 256 + 0], 0);     // black: large dot
}

}  // namespace
