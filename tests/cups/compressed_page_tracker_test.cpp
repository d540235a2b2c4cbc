// The tracker against libcups' own writer: on random compressed pages of every layout, with
// repeated lines, runs and literal stretches, it must know each page's start exactly and never
// promise more bytes to the current page than the page has left.
#include "compressed_page_tracker.h"

#include <gtest/gtest.h>

#include <random>

#include "raster_io.h"

namespace cupstest {
namespace {

// Rows that compress in every way: repeated lines, flat stretches, noise; a third of the pages
// flat, which compress to the fewest bytes a page can take.
std::vector<std::vector<uint8_t>> RandomInks(std::mt19937& random, int inks, int width,
                                             int height) {
  std::vector<std::vector<uint8_t>> grey(inks);
  if (random() % 3 == 0) {
    for (auto& ink : grey) ink.assign(size_t(width) * height, uint8_t(random()));
    return grey;
  }
  for (auto& ink : grey) {
    for (int y = 0; y < height; ++y) {
      if (y > 0 && random() % 3 == 0) {  // the line before again
        ink.insert(ink.end(), ink.end() - width, ink.end());
        continue;
      }
      uint8_t value = uint8_t(random());
      for (int x = 0; x < width; ++x) {
        if (random() % 4 == 0) value = uint8_t(random());
        ink.push_back(value);
      }
    }
  }
  return grey;
}

TEST(CompressedPageTracker, KnowsEveryPageStartAndNeverPromisesTooMuch) {
  const std::string folder = ScratchFolder();
  std::mt19937 random(1206);
  const cups_cspace_t spaces[] = {CUPS_CSPACE_K, CUPS_CSPACE_CMYK};
  const cups_order_t orders[] = {CUPS_ORDER_CHUNKED, CUPS_ORDER_BANDED, CUPS_ORDER_PLANAR};
  for (int job = 0; job < 40; ++job) {
    std::vector<Page> pages;
    std::vector<size_t> starts;
    std::string bytes;
    for (int page = 0; page < 3; ++page) {
      const cups_cspace_t space = spaces[random() % 2];
      const int inks = space == CUPS_CSPACE_K ? 1 : 4;
      const int width = 1 + int(random() % 700), height = 1 + int(random() % 600);
      pages.push_back(EightBitPage(space, orders[random() % 3],
                                   RandomInks(random, inks, width, height), width, height));
      WriteRaster(folder + "/job.ras", pages, 2);
      starts.push_back(bytes.empty() ? 4 : bytes.size());
      bytes = test::ReadFile(folder + "/job.ras");
    }
    starts.push_back(bytes.size());
    CompressedPageTracker tracker(false);
    size_t page = 0;
    for (size_t at = 4; at < bytes.size(); ++at) {
      if (at == starts[page + 1]) ++page;
      ASSERT_EQ(tracker.AtPageStart(), at == starts[page]) << "job " << job << ", byte " << at;
      ASSERT_LE(tracker.BytesCertainlyInPage(), starts[page + 1] - at)
          << "job " << job << ", byte " << at;
      tracker.Pass(reinterpret_cast<const unsigned char*>(&bytes[at]), 1);
    }
    EXPECT_TRUE(tracker.AtPageStart());
    EXPECT_FALSE(tracker.Lost());
  }
}

}  // namespace
}  // namespace cupstest
