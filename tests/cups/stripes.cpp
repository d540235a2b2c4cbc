#include "stripes.h"

#include <gtest/gtest.h>

#include <fstream>

namespace cupstest {
namespace {

constexpr int kStripeMargin = 24;  // pixels left out at each edge of a stripe
constexpr unsigned kTopRows = 64;  // rows near the top checked strip by strip and one by one
constexpr unsigned kStripRows = 16;
// One row of a stripe is some 550 dots at 300 dpi, and the error diffusion hands the error of
// a row to the next: at 1 bit the mean of a single row swings by up to some 19 grey levels
// (measured), rows two apart by 6, sixteen rows together by under 1. A single row is held to
// this looser bound, which still catches a blank, full or foreign row.
constexpr double kRowTolerance = 24.0;

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
      const auto expectNear = [&](unsigned top, unsigned bottom, double bound) {
        EXPECT_NEAR(Mean(got, width, left, right, top, bottom),
                    Mean(wanted, width, left, right, top, bottom), bound)
            << "ink " << ink << ", stripe " << stripe << ", rows " << top << " to " << bottom;
      };
      expectNear(0, height, tolerance);
      for (unsigned y = 0; y < kTopRows; y += kStripRows) expectNear(y, y + kStripRows, tolerance);
      for (unsigned y = 0; y < kTopRows; ++y) expectNear(y, y + 1, kRowTolerance);
    }
  }
}

}  // namespace

std::string StripesPdf(const std::string& folder, const std::string& name, int pages, bool cmyk) {
  const std::string ps = folder + "/" + name + ".ps", pdf = folder + "/" + name + ".pdf";
  std::ofstream out(ps);
  out << "%!PS\n/stripe { /i exch def\n"
         "  newpath i 148.75 mul 0 moveto 148.75 0 rlineto 0 842 rlineto -148.75 0 rlineto\n"
         "  closepath fill } def\n";
  for (int page = 0; page < pages; ++page) {
    for (int stripe = 0; stripe < kStripes; ++stripe) {
      const double level = 0.1 + 0.2 * stripe + 0.07 * page;
      if (cmyk)
        out << level << " " << 0.8 - level << " " << level / 2 << " " << 0.1 * stripe
            << " setcmykcolor " << stripe << " stripe\n";
      else
        out << 1 - level << " setgray " << stripe << " stripe\n";
    }
    out << "showpage\n";
  }
  out.close();
  const ProgramRun run = RunProgram(
      {GHOSTSCRIPT, "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite", "-sOutputFile=" + pdf, ps},
      folder + "/" + name + ".gs");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return pdf;
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

}  // namespace cupstest
