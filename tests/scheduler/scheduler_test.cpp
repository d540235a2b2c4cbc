// The filter and PPD as installed, under a real scheduler: jobs sent with lp to a queue made
// from the PPD (PDFs through ghostscript and CUPS rasters, copies, the print quality asked every
// way a user or an IPP client asks it, a cancel), their output and the scheduler's page count.
// Needs root (cupsd runs its filters as lp). (The PPD's chain screening a PDF's pages, geometry
// and tone is checked without a scheduler, in cups/queue_test.cpp.)
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <regex>
#include <set>

#include "private_scheduler.h"
#include "stripes.h"

namespace schedulertest {
namespace {

using cupstest::Page;
using cupstest::ReadRaster;
using test::ProgramRun;
using test::RunProgram;

const std::string kPrefix = KORVEL_SCHEDULER_PREFIX;
const std::string kFilter = kPrefix + "/lib/cups/filter/rastertokorvel";
const std::string kPpd = kPrefix + "/share/ppd/korvel/korvel-inkjet.ppd";

PrivateScheduler* scheduler = nullptr;

class SchedulerEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    instance_ = std::make_unique<PrivateScheduler>(std::string(KORVEL_SCRATCH) + "/cupsd", kPrefix);
    scheduler = instance_.get();
  }
  void TearDown() override {
    scheduler = nullptr;
    instance_.reset();
  }

 private:
  std::unique_ptr<PrivateScheduler> instance_;
};

const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new SchedulerEnvironment);

std::string Scratch(const std::string& name) {
  return scheduler->Folder() + "/" + name;
}

std::string StripesPdf(const std::string& name, int pages, bool cmyk) {
  return cupstest::StripesPdf(scheduler->Folder(), name, pages, cmyk);
}

// A two-page raster of grey ramps, which the queue hands to the filter as it is.
std::string RampRaster() {
  std::vector<Page> pages;
  constexpr int width = 600, height = 200;
  for (int page = 0; page < 2; ++page) {
    std::vector<std::vector<uint8_t>> grey(1);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) grey[0].push_back(uint8_t(x * 255 / width + page * 3));
    pages.push_back(cupstest::EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, grey, width, height));
  }
  const std::string path = Scratch("ramp.ras");
  cupstest::WriteRaster(path, pages);
  return path;
}

// A digest of a raster, to compare outputs by.
std::string Digest(const std::string& bytes) {
  return std::to_string(bytes.size()) + "/" + std::to_string(std::hash<std::string>()(bytes));
}

// What the installed filter writes for the raster at a quality level, run by hand.
std::string AtLevel(const std::string& raster, int level) {
  const std::string out = raster + "." + std::to_string(level) + ".ras";
  const ProgramRun run = RunProgram(
      {kFilter, "1", "user", "title", "1", "korvel-quality=" + std::to_string(level), raster}, out,
      "", {"PPD"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return Digest(test::ReadFile(out));
}

// The print quality as a user picks it in the PPD, as an IPP client asks for it, and as the
// queue's default: each reaches the filter as the level it stands for.
TEST(Scheduler, EveryPrintQualityReachesTheFilter) {
  scheduler->AddQueue("quality", {"printer-error-policy=abort-job"});
  scheduler->AddQueue("photo", {"printer-error-policy=abort-job", "cupsPrintQuality=Photo"});
  const std::string raster = RampRaster();
  const auto printed = [&](const std::string& queue, const std::vector<std::string>& options) {
    const FinishedJob job = scheduler->Print(queue, raster, options);
    EXPECT_EQ(job.state, "completed") << scheduler->ErrorLog();
    return Digest(test::ReadFile(job.output));
  };
  const std::string photo = printed("quality", {"cupsPrintQuality=Photo"});
  EXPECT_EQ(photo, AtLevel(raster, 90));
  EXPECT_EQ(printed("quality", {"print-quality=5"}), AtLevel(raster, 70));
  EXPECT_EQ(printed("quality", {"print-quality=3"}), AtLevel(raster, 30));
  const std::string normal = printed("quality", {});
  EXPECT_EQ(normal, AtLevel(raster, 50));
  EXPECT_EQ(printed("photo", {}), photo);
  EXPECT_EQ(printed("photo", {"print-quality=4"}), normal);
  EXPECT_NE(photo, normal);  // levels 90 and 50 screen apart: the comparisons tell levels apart
}

// Copies: made by the filters before this one for a PDF, by the filter for a raster; either way
// the scheduler counts every sheet, and page_log's total says so.
TEST(Scheduler, CopiesAreMadeAndCounted) {
  scheduler->AddQueue("copies", {"printer-error-policy=abort-job"});
  const std::string pdf = StripesPdf("three", 3, false);
  const FinishedJob fromPdf =
      scheduler->Print("copies", pdf, {"Resolution=300dpi", "ColorModel=Gray", "copies=2"});
  ASSERT_EQ(fromPdf.state, "completed") << scheduler->ErrorLog();
  EXPECT_EQ(ReadRaster(fromPdf.output).size(), 6u);
  EXPECT_EQ(fromPdf.impressions, 6);
  const FinishedJob fromRaster = scheduler->Print("copies", RampRaster(), {"copies=3"});
  ASSERT_EQ(fromRaster.state, "completed") << scheduler->ErrorLog();
  EXPECT_EQ(ReadRaster(fromRaster.output).size(), 6u);
  EXPECT_EQ(fromRaster.impressions, 6);
  const std::string log = scheduler->PageLog();
  std::cout << "page_log:\n" << log;
  for (const FinishedJob& job : {fromPdf, fromRaster})
    EXPECT_TRUE(std::regex_search(
        log, std::regex("copies root " + std::to_string(job.id) + " \\[[^\\]]*\\] total 6 ")))
        << log;
}

// A job cancelled in the middle of a page: the filter stops between bands, page 1 counted, and
// nothing it says is an error. It says how much of page 2 it wrote, or which rows it could no
// longer read when the end of the filter before it came first; the scheduler logs that line
// only when it reads the filter's messages after the cancel, which it does not always do.
TEST(Scheduler, ACancelledJobStopsWithoutAnError) {
  scheduler->AddQueue("cancel", {"printer-error-policy=abort-job"});
  const std::string pdf = StripesPdf("long", 6, true);
  const FinishedJob job =
      scheduler->PrintAndCancel("cancel", pdf, {"Resolution=1200dpi"}, "Screening page 2");
  EXPECT_EQ(job.state, "canceled");
  const std::string log = scheduler->ErrorLog();
  const std::string prefix = "\\[Job " + std::to_string(job.id) + "\\] ";
  EXPECT_TRUE(std::regex_search(log, std::regex(prefix + "PAGE: 1 1\n"))) << log;
  EXPECT_FALSE(std::regex_search(log, std::regex("\nE \\[[^\\]]*\\] " + prefix))) << log;
  std::smatch stop;
  if (std::regex_search(log, stop, std::regex(prefix + "Stopped on request[^\n]*"))) {
    EXPECT_TRUE(std::regex_search(stop.str(), std::regex("after 1 whole page\\(s\\); \\d+ of the "
                                                         "13750 lines|the input was cut first")))
        << stop.str();
  }
}

// The attributes the scheduler adds to the jobs above (the filter logs its options at the
// scheduler's debug level): each is one the filter reads or knowingly leaves to others.
TEST(Scheduler, TheSchedulerSendsOnlyAttributesTheFilterKnows) {
  const std::set<std::string> known{
      // read: the print quality, which an explicit choice overrides
      "print-quality", "cupsPrintQuality", "ColorModel", "Resolution", "KorvelScreen",
      "korvel-quality",
      // for the filters before this one, or for the record: they do not change the screening
      "print-color-mode", "finishings", "number-up", "job-uuid", "job-originating-host-name",
      "date-time-at-creation", "date-time-at-processing", "time-at-creation", "time-at-processing",
      "document-name-supplied"};
  const std::string log = scheduler->ErrorLog();
  const std::regex line("\\] job options: ([^\\n]*)");
  std::set<std::string> sent;
  for (auto match = std::sregex_iterator(log.begin(), log.end(), line);
       match != std::sregex_iterator(); ++match) {
    const std::string options = (*match)[1];
    const std::regex name("(?:^| )([^= ]+)=");
    for (auto option = std::sregex_iterator(options.begin(), options.end(), name);
         option != std::sregex_iterator(); ++option)
      sent.insert((*option)[1]);
  }
  ASSERT_FALSE(sent.empty()) << "no job options in the scheduler's log";
  std::cout << "the filter's options under the scheduler:";
  for (const std::string& name : sent) std::cout << " " << name;
  std::cout << "\n";
  for (const std::string& name : sent) EXPECT_TRUE(known.count(name)) << name;
}

}  // namespace
}  // namespace schedulertest
