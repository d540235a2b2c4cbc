// A job of several pages cut or damaged in a later page's header: the filter must screen the
// whole pages before the damage and then fail, never end as if the job were done. Every byte of
// the headers of pages 2 and 3 is cut at and flipped, in the uncompressed and the compressed
// format (libcups reads the compressed one through a buffer of its own), in the filter's own
// job loop. (The program's exit and ERROR line on a damaged raster are among the refusals of
// filter_test.)
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <random>

#include "filter_log.h"
#include "raster_io.h"
#include "raster_job.h"
#include "raster_source.h"
#include "tool_error.h"

namespace cupstest {
namespace {

constexpr int kWidth = 12, kHeight = 3, kPages = 3;

struct Job {
  std::string bytes;
  std::vector<size_t> pageStarts;  // offset of every page's header
};

// Three small grey pages in the given format, and where each page begins.
Job ThreePages(int version) {
  const std::string folder = ScratchFolder();
  std::mt19937 random(version);
  std::vector<Page> pages;
  Job job;
  for (int page = 0; page < kPages; ++page) {
    std::vector<std::vector<uint8_t>> grey(1);
    for (int i = 0; i < kWidth * kHeight; ++i) grey[0].push_back(uint8_t(random()));
    pages.push_back(EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, grey, kWidth, kHeight));
    WriteRaster(folder + "/pages.ras", pages, version);
    const std::string bytes = test::ReadFile(folder + "/pages.ras");
    job.pageStarts.push_back(job.bytes.empty() ? 4 : job.bytes.size());
    job.bytes = bytes;
  }
  return job;
}

struct Outcome {
  int pages = 0;
  bool failed = false;
};

// The filter's job loop on the bytes, as the filter runs it on its input.
Outcome Screen(const std::string& bytes) {
  const int fd = memfd_create("raster", 0);
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  lseek(fd, 0, SEEK_SET);
  Outcome outcome;
  const int outputFd = memfd_create("screened", 0);
  cups_raster_t* output = cupsRasterOpen(outputFd, CUPS_RASTER_WRITE);
  FilterSettings settings;
  settings.quality = 0;
  settings.threads = 1;
  try {
    RasterSource source(fd, [] { return false; });
    ScreenRasterJob(source, output, settings, FilterLog(nullptr), [] { return false; });
  } catch (const ToolError&) {
    outcome.failed = true;
  }
  cupsRasterClose(output);
  close(fd);
  // The whole pages written before the job ended.
  outcome.pages = int(ReadRaster("/proc/self/fd/" + std::to_string(outputFd)).size());
  close(outputFd);
  return outcome;
}

void ExpectEveryHeaderByteChecked(int version) {
  const Job job = ThreePages(version);
  ASSERT_EQ(Screen(job.bytes).pages, kPages);
  ASSERT_FALSE(Screen(job.bytes).failed);
  for (int page = 1; page < kPages; ++page) {
    const size_t start = job.pageStarts[page];
    EXPECT_EQ(Screen(job.bytes.substr(0, start)).pages, page) << "a clean end after " << page;
    for (size_t at = start + 1; at < job.pageStarts[page] + sizeof(cups_page_header2_t); ++at) {
      const Outcome cut = Screen(job.bytes.substr(0, at));
      ASSERT_TRUE(cut.failed) << "cut at byte " << at - start << " of page " << page + 1;
      ASSERT_EQ(cut.pages, page);
      std::string flipped = job.bytes;
      flipped[at] = char(flipped[at] ^ 0xFF);
      const Outcome damaged = Screen(flipped);
      ASSERT_TRUE(damaged.failed || damaged.pages == kPages)
          << "byte " << at - start << " of page " << page + 1 << " flipped: " << damaged.pages
          << " pages and success";
    }
  }
}

TEST(FilterDamagedJobs, EveryHeaderByteOfLaterPagesUncompressed) {
  ExpectEveryHeaderByteChecked(3);
}

TEST(FilterDamagedJobs, EveryHeaderByteOfLaterPagesCompressed) {
  ExpectEveryHeaderByteChecked(2);
}

}  // namespace
}  // namespace cupstest
