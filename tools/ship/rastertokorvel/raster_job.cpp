#include "raster_job.h"

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

#include "page_screen.h"
#include "tool_error.h"

namespace {

// Threads that screen: one per ink unless the job says otherwise, and no more than the
// processors. They count the filter's own thread, which reads the next band and writes the last
// one while the others screen, then screens what they have not yet taken.
int ThreadsFor(const FilterSettings& settings, int inks) {
  if (settings.threads > 0) return settings.threads;
  const int processors = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return std::min(inks, processors);
}

// Reports how far the page is, in steps of a tenth.
class PageProgress {
 public:
  explicit PageProgress(const FilterLog& log) : log_(log) {}
  void operator()(double share) {
    const int tenths = static_cast<int>(share * 10);
    if (tenths == reported_) return;
    reported_ = tenths;
    log_.Attribute("job-media-progress=" + std::to_string(tenths * 10));
  }

 private:
  const FilterLog& log_;
  int reported_ = 0;
};

std::string PageSummary(int page, const PageFormat& format, const FilterSettings& settings) {
  return "Screening page " + std::to_string(page) + " (" + std::to_string(format.width) + "x" +
         std::to_string(format.height) + " " + Describe(format) + ", " +
         ScreenName(settings.screen) + " at " + std::to_string(settings.bits) + " bit" +
         (settings.bits == 1 ? "" : "s") + ", quality " + std::to_string(settings.quality) + ")";
}

}  // namespace

JobResult ScreenRasterJob(RasterSource& source, cups_raster_t* output,
                          const FilterSettings& settings, const FilterLog& log,
                          const std::function<bool()>& stopRequested) {
  JobResult result;
  std::unique_ptr<ThreadPool> pool;
  int poolThreads = 0;
  cups_page_header2_t header;
  cups_raster_t* const input = source.raster();
  // The job ends cleanly where no byte follows the last page; anything else must be a page.
  while (source.MoreFollows()) {
    if (!cupsRasterReadHeader2(input, &header)) {
      if (stopRequested()) break;
      throw ToolError("the header of page " + std::to_string(result.pages + 1) +
                      " is damaged or cut short, after " + std::to_string(result.pages) +
                      " page(s) screened");
    }
    const PageFormat format = PageFormatOf(header, settings.bits);
    const int threads = ThreadsFor(settings, format.InkCount());
    if (!pool || poolThreads != threads) {
      pool.reset();
      pool = std::make_unique<ThreadPool>(threads - 1);  // this thread screens too
      poolThreads = threads;
    }
    log.Info(PageSummary(result.pages + 1, format, settings));
    PageProgress progress(log);
    result.linesWritten = 0;
    result.lines = format.height * (format.order == CUPS_ORDER_PLANAR ? format.InkCount() : 1);
    const PageJob job{
        input, output, settings, *pool, stopRequested, std::ref(progress), &result.linesWritten};
    if (!ScreenPage(job, header, format)) {
      result.stopped = true;
      return result;
    }
    ++result.pages;
    log.Page(result.pages, 1);
  }
  // A stop request also ends a read that waits for the next page.
  result.stopped = stopRequested();
  if (!source.readError().empty() && !result.stopped)
    throw ToolError("cannot read the raster after " + std::to_string(result.pages) +
                    " page(s): " + source.readError());
  if (result.pages == 0 && !result.stopped)
    throw ToolError("the input holds no page of CUPS raster");
  return result;
}
