// The inks of a CMYK TIFF screen exactly as each plane screened alone as a grey image with the
// same options; per-ink options reach their own ink only; the thread count changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tiffio.h>

#include <random>

#include "tool_runner.h"

namespace {

constexpr int kWidth = 61;  // odd, so the library's rows need padding
constexpr int kHeight = 37;
const std::string kInks[] = {"C", "M", "Y", "K"};

class CmykInput : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = cli::ScratchFolder();
    std::mt19937 random(7);
    for (int ink = 0; ink < 4; ++ink) {  // a ramp of its own direction under noise per ink
      std::string& grey = planes_[ink];
      for (int i = 0; i < kWidth * kHeight; ++i)
        grey += static_cast<char>(
            std::min<int>(255, (ink % 2 ? i % kWidth * 4 : i / kWidth * 6) + random() % 40));
      cli::WriteFile(Path(kInks[ink] + ".pgm"), "P5\n61 37\n255\n" + grey);
      for (char& value : grey) value = static_cast<char>(255 - value);  // the TIFF holds ink
    }
    WriteTiff("contiguous.tif", PLANARCONFIG_CONTIG);
    WriteTiff("planar.tif", PLANARCONFIG_SEPARATE);
  }

  void WriteTiff(const std::string& name, uint16_t planarConfig) {
    const bool planar = planarConfig == PLANARCONFIG_SEPARATE;
    TIFF* tiff = TIFFOpen(Path(name).c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, planarConfig);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
    std::string row(kWidth * 4, '\0');
    for (int sample = 0; sample < (planar ? 4 : 1); ++sample)
      for (int y = 0; y < kHeight; ++y) {
        for (int i = 0; i < kWidth * (planar ? 1 : 4); ++i)
          row[i] = planes_[planar ? sample : i % 4][y * kWidth + (planar ? i : i / 4)];
        TIFFWriteScanline(tiff, row.data(), y, static_cast<uint16_t>(sample));
      }
    TIFFClose(tiff);
  }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  cli::Run Halftone(const std::string& options, const std::string& in, const std::string& out) {
    return cli::RunTool(cli::Command("halftone " + options + " " + in + " " + out, folder_));
  }
  std::string Screened(const std::string& name) { return cli::Checksum(cli::ReadFile(Path(name))); }
  // Ink k of the TIFF screened with cmykOptions must equal k.pgm screened with greyOptions[k].
  void ExpectInksAsGrey(const std::string& tif, const std::string& cmykOptions,
                        const std::vector<std::string>& greyOptions) {
    cli::ExpectSuccess(Halftone(cmykOptions, tif, "out.pgm"));
    for (int ink = 0; ink < 4; ++ink) {
      cli::ExpectSuccess(Halftone(greyOptions[ink], kInks[ink] + ".pgm", "grey.pgm"));
      EXPECT_EQ(Screened("out-" + kInks[ink] + ".pgm"), Screened("grey.pgm"))
          << tif << " ink " << kInks[ink] << " with " << cmykOptions;
    }
  }
  std::string folder_;
  std::string planes_[4];
};

TEST_F(CmykInput, EveryInkScreensAsItsPlaneAlone) {
  for (const char* tif : {"contiguous.tif", "planar.tif"})
    for (const std::string options : {"--quality 0", "--bits 2", "--bits 4", "--type 42 --cell 2x1",
                                      "--template-diffusion --dot-mode 1", "--screen fine",
                                      "--screen best --bits 2 --drop-inks 0.25,0.6"})
      ExpectInksAsGrey(tif, options, std::vector<std::string>(4, options));
}

TEST_F(CmykInput, PerInkOptionsReachTheirInkOnly) {
  cli::WriteFile(Path("dark.txt"), "# more ink in the mid-tones\n0, 40, 70\n90 100\n");
  ExpectInksAsGrey("planar.tif", "--quality 70,K=0,C=-1",
                   {"--quality -1", "--quality 70", "--quality 70", "--quality 0"});
  ExpectInksAsGrey("planar.tif", "--curve M=dark.txt --quality C=0",
                   {"--quality 0", "--curve dark.txt", "", ""});
  cli::ExpectSuccess(Halftone("", "M.pgm", "plain.pgm"));
  EXPECT_NE(Screened("out-M.pgm"), Screened("plain.pgm"));  // the curve did something
}

// Inks screened on the tool's threads: the suite's name puts it under ThreadSanitizer in CI.
using ConcurrencyCmykInput = CmykInput;

TEST_F(ConcurrencyCmykInput, ThreadCountChangesNothingAndTheTiffHoldsEveryInk) {
  const std::string quality = "--quality C=0,M=30,K=90 ";
  cli::ExpectSuccess(Halftone(quality + "--threads 1", "contiguous.tif", "one.tif"));
  cli::ExpectSuccess(Halftone(quality + "--threads 4", "contiguous.tif", "four.tif"));
  EXPECT_EQ(Screened("one.tif"), Screened("four.tif"));
  cli::ExpectSuccess(Halftone(quality, "contiguous.tif", "out.pgm"));
  TIFF* tiff = TIFFOpen(Path("four.tif").c_str(), "r");
  std::vector<uint8_t> row(TIFFScanlineSize(tiff));
  for (int ink = 0; ink < 4; ++ink) {
    std::vector<uint8_t> codes;
    for (int y = 0; y < kHeight; ++y) {
      TIFFReadScanline(tiff, row.data(), y, static_cast<uint16_t>(ink));
      for (int x = 0; x < kWidth; ++x) codes.push_back(row[x / 8] >> (7 - x % 8) & 1);
    }
    EXPECT_EQ(codes, cli::PnmCodes(Path("out-" + kInks[ink] + ".pgm"))) << kInks[ink];
  }
  TIFFClose(tiff);
}

TEST_F(CmykInput, BadPerInkOptionsAreRefusedInOneLine) {
  cli::WriteFile(Path("dark.txt"), "0 50 100 200\n");
  const std::vector<std::tuple<std::string, std::string, int, std::string>> refusals = {
      {"--quality Q=50", "planar.tif", 2, "unknown ink 'Q'"},
      {"--quality K=50,K=60", "planar.tif", 2, "names ink K twice"},
      {"--quality K=", "planar.tif", 2, "has no value"},
      {"--threads 0", "planar.tif", 2, "--threads 0 is out of range"},
      {"--bits 4 --quality K=50", "planar.tif", 2, "--quality does not apply"},
      {"--bits 2 --curve dark.txt", "planar.tif", 2, "--curve does not apply"},
      {"--curve K=dark.txt --quality K=20", "planar.tif", 2, "replaces the tone curve"},
      {"--type 5", "planar.tif", 2, "CMYK input does not apply"},
      {"--quality K=50", "K.pgm", 2, "per-ink values need CMYK input"},
      {"--threads 2", "K.pgm", 2, "--threads does not apply to grey input"},
      {"--curve K=none.txt", "planar.tif", 1, "none.txt: cannot open"},
      {"--curve dark.txt", "K.pgm", 1, "point 200 is outside"},
      // Found while the inks are written: the inks written before it go too.
      {"", "planar.tif", 1, "out-Y.png: cannot write: is a folder"}};
  ASSERT_EQ(mkdir(Path("out-Y.png").c_str(), 0700), 0);
  for (const auto& [options, in, exitCode, message] : refusals)
    cli::ExpectRefused(Halftone(options, in, "out.png"), exitCode, message);
  EXPECT_EQ(cli::EntriesIn(folder_), 8u);  // the inputs and the folder: nothing was written
}

}  // namespace
