// The filter in a print queue: cupsfilter (no scheduler needed) runs the PPD's chain on a grey
// PDF made here and on a CMYK raster written here, and the screened raster it ends with must
// have the source's pages and geometry, the chosen bits, and its tone (see stripes.h): with the
// identity curve (korvel-quality=0) at 1 bit, or the drop screen (which has no curve) at 2.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "stripes.h"

namespace cupstest {
namespace {

namespace fs = std::filesystem;

// A folder of filters for cupsfilter: the system's and the built filter.
std::string FilterConfiguration(const std::string& folder) {
  const std::string configuration = folder + "/cups-files.conf";
  const fs::path filters = fs::path(folder) / "serverbin" / "filter";
  if (fs::exists(configuration)) return configuration;
  fs::create_directories(filters);
  for (const auto& entry : fs::directory_iterator(CUPS_SYSTEM_FILTERS))
    fs::create_symlink(entry.path(), filters / entry.path().filename());
  fs::create_symlink(KORVEL_FILTER, filters / "rastertokorvel");
  std::ofstream(configuration) << "ServerBin " << folder << "/serverbin\nDataDir "
                               << CUPS_SYSTEM_DATA << "\n";
  return configuration;
}

ProgramRun Cupsfilter(const std::string& folder, const std::string& input, const std::string& type,
                      const std::vector<std::string>& options, const std::string& output) {
  std::vector<std::string> argv{
      CUPSFILTER, "-c", FilterConfiguration(folder), "-p", KORVEL_PPD, "-e", "-m", type};
  for (const std::string& option : options) argv.insert(argv.end(), {"-o", option});
  argv.push_back(input);
  return RunProgram(argv, folder + "/" + output);
}

class Queue : public testing::TestWithParam<int> {};

// The PPD's choices for a screen at `bits` that keeps the source's tone.
std::vector<std::string> ToneKeepingChoices(int bits) {
  if (bits == 1) return {"korvel-quality=0", "KorvelBits=1"};
  return {"KorvelScreen=Drops", "KorvelBits=2"};
}

TEST_P(Queue, GreyPdfKeepsItsPagesAndTone) {
  const int bits = GetParam();
  const std::string folder = ScratchFolder();
  const std::string pdf = StripesPdf(folder, "grey", 3, false);
  std::vector<std::string> options = ToneKeepingChoices(bits);
  options.insert(options.end(), {"ColorModel=Gray", "Resolution=300dpi"});
  const ProgramRun rendered =
      Cupsfilter(folder, pdf, "application/vnd.cups-raster", options, "grey.ras");
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  const ProgramRun screened = Cupsfilter(folder, pdf, "printer/korvel", options, "screened.ras");
  ASSERT_EQ(screened.exitCode, 0) << screened.err;
  const std::vector<Page> source = ReadRaster(folder + "/grey.ras");
  ASSERT_EQ(source.size(), 3u);
  EXPECT_EQ(source[0].header.cupsColorSpace, CUPS_CSPACE_SW);
  ExpectScreenedPages(source, ReadRaster(folder + "/screened.ras"), bits);
}

TEST_P(Queue, CmykRasterKeepsItsPagesAndTone) {
  const int bits = GetParam();
  const std::string folder = ScratchFolder();
  constexpr int width = 1200, height = 300;
  std::vector<Page> pages;
  for (int page = 0; page < 2; ++page) {
    std::vector<std::vector<uint8_t>> inks(4);
    for (int ink = 0; ink < 4; ++ink)
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          inks[ink].push_back(uint8_t(20 + 50 * ((x * kStripes / width + ink + page) % 4)));
    pages.push_back(EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, inks, width, height));
  }
  WriteRaster(folder + "/cmyk.ras", pages);
  const ProgramRun run = Cupsfilter(folder, folder + "/cmyk.ras", "printer/korvel",
                                    ToneKeepingChoices(bits), "screened.ras");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectScreenedPages(pages, ReadRaster(folder + "/screened.ras"), bits);
}

INSTANTIATE_TEST_SUITE_P(Bits, Queue, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "Bit";
                         });

}  // namespace
}  // namespace cupstest
