// The filter in a print queue: cupsfilter (no scheduler needed) runs the PPD's chain on a grey
// PDF made here and on a CMYK raster written here, and the screened raster it ends with must
// have the source's pages and geometry, the chosen bits, and its tone: with the identity curve
// (korvel-quality=0) at 1 bit, or the drop screen (which has no curve) at 2, the mean ink of
// every flat patch, and of every strip of rows of a patch
// near the top of the page, within one grey level of the source (two for the drop screen,
// whose drops are not exact thirds of a dot: measured up to 1.3), and every single row there
// within the noise one row of dots has.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "raster_io.h"

namespace cupstest {
namespace {

namespace fs = std::filesystem;

constexpr int kStripes = 4;        // flat patches side by side across the page
constexpr int kStripeMargin = 24;  // pixels left out at each edge of a stripe
constexpr unsigned kTopRows = 64;  // rows near the top checked strip by strip and one by one
constexpr unsigned kStripRows = 16;
// One row of a stripe is some 550 dots at 300 dpi, and the error diffusion hands the error of
// a row to the next: at 1 bit the mean of a single row swings by up to some 19 grey levels
// (measured), rows two apart by 6, sixteen rows together by under 1. A single row is held to
// this looser bound, which still catches a blank, full or foreign row.
constexpr double kRowTolerance = 24.0;

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

// Mean of amounts[y][x] over x in [left, right) and the rows [top, bottom).
double Mean(const std::vector<uint8_t>& amounts, unsigned width, unsigned left, unsigned right,
            unsigned top, unsigned bottom) {
  double sum = 0;
  for (unsigned y = top; y < bottom; ++y)
    for (unsigned x = left; x < right; ++x) sum += amounts[size_t(y) * width + x];
  return sum / (double(right - left) * (bottom - top));
}

// Compares the tone of every ink of the screened page with the source page, stripe by stripe:
// over the whole stripe, over strips of the top rows, and row by row there.
void ExpectSameTone(const Page& source, const Page& screened, double tolerance) {
  const unsigned width = source.header.cupsWidth, height = source.header.cupsHeight;
  const int inks = int(source.header.cupsNumColors);
  for (int ink = 0; ink < inks; ++ink) {
    const std::vector<uint8_t> wanted = InkAmounts(source, ink), got = InkAmounts(screened, ink);
    for (int stripe = 0; stripe < kStripes; ++stripe) {
      const unsigned left = width * stripe / kStripes + kStripeMargin;
      const unsigned right = width * (stripe + 1) / kStripes - kStripeMargin;
      SCOPED_TRACE("ink " + std::to_string(ink) + ", stripe " + std::to_string(stripe));
      EXPECT_NEAR(Mean(got, width, left, right, 0, height),
                  Mean(wanted, width, left, right, 0, height), tolerance);
      for (unsigned y = 0; y < kTopRows; y += kStripRows)
        EXPECT_NEAR(Mean(got, width, left, right, y, y + kStripRows),
                    Mean(wanted, width, left, right, y, y + kStripRows), tolerance)
            << "rows from " << y;
      for (unsigned y = 0; y < kTopRows; ++y)
        EXPECT_NEAR(Mean(got, width, left, right, y, y + 1),
                    Mean(wanted, width, left, right, y, y + 1), kRowTolerance)
            << "row " << y;
    }
  }
}

void ExpectScreenedPages(const std::vector<Page>& source, const std::vector<Page>& screened,
                         unsigned bits) {
  ASSERT_EQ(screened.size(), source.size());
  for (size_t page = 0; page < source.size(); ++page) {
    SCOPED_TRACE("page " + std::to_string(page + 1));
    const cups_page_header2_t &in = source[page].header, &out = screened[page].header;
    EXPECT_EQ(out.cupsWidth, in.cupsWidth);
    EXPECT_EQ(out.cupsHeight, in.cupsHeight);
    EXPECT_EQ(out.HWResolution[0], in.HWResolution[0]);
    EXPECT_EQ(out.cupsColorSpace, in.cupsColorSpace);
    EXPECT_EQ(out.cupsColorOrder, in.cupsColorOrder);
    EXPECT_EQ(out.cupsBitsPerColor, bits);
    ExpectSameTone(source[page], screened[page], bits == 1 ? 1.0 : 2.0);
  }
}

// Three pages of four grey stripes each, darker page by page.
void WriteGreyPdf(const std::string& folder) {
  std::ofstream ps(folder + "/grey.ps");
  ps << "%!PS\n/stripe { /g exch def /i exch def g setgray\n"
        "  newpath i 148.75 mul 0 moveto 148.75 0 rlineto 0 842 rlineto -148.75 0 rlineto\n"
        "  closepath fill } def\n";
  for (int page = 0; page < 3; ++page) {
    for (int stripe = 0; stripe < kStripes; ++stripe)
      ps << stripe << " " << 0.9 - 0.2 * stripe - 0.07 * page << " stripe\n";
    ps << "showpage\n";
  }
  ps.close();
  const ProgramRun run = RunProgram({GHOSTSCRIPT, "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                                     "-sOutputFile=" + folder + "/grey.pdf", folder + "/grey.ps"},
                                    folder + "/gs.out");
  ASSERT_EQ(run.exitCode, 0) << run.err;
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
  WriteGreyPdf(folder);
  std::vector<std::string> options = ToneKeepingChoices(bits);
  options.insert(options.end(), {"ColorModel=Gray", "Resolution=300dpi"});
  const ProgramRun rendered =
      Cupsfilter(folder, folder + "/grey.pdf", "application/vnd.cups-raster", options, "grey.ras");
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  const ProgramRun screened =
      Cupsfilter(folder, folder + "/grey.pdf", "printer/korvel", options, "screened.ras");
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
