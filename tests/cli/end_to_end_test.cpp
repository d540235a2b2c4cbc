// The tool run on the sample chart and on generated areas, its outputs read back with libpng,
// libtiff and a PNM parser.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "cli_support.h"

namespace {

using cli::DotImage;
using cli::ReadDots;
using cli::RunTool;

std::vector<std::string> ExtensionsFor(int bits) {
  std::vector<std::string> extensions{".png", ".pgm"};
#ifdef KORVEL_TEST_TIFF
  extensions.push_back(".tif");
#endif
  if (bits == 1) extensions.push_back(".pbm");
  return extensions;
}

void ExpectSucceeded(const cli::RunResult& run) {
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.signal, 0);
}

// Every code of a screened image is one the depth allows: at 4 bits the path writes whole
// dots only.
void ExpectCodesOfDepth(const DotImage& image, int bits) {
  const int allowedMask = bits == 4 ? (1 << 0 | 1 << 15) : (1 << (1 << bits)) - 1;
  for (uint8_t code : image.codes) {
    ASSERT_TRUE(allowedMask >> code & 1) << "code " << int(code) << " at " << bits << " bits";
  }
}

class HalftoneChart : public ::testing::TestWithParam<int> {};

TEST_P(HalftoneChart, EveryFormatHoldsTheSameDotsAtTheTrueDepth) {
  const int bits = GetParam();
  const std::string folder = cli::ScratchFolder();
  std::vector<DotImage> decoded;
  for (const std::string& extension : ExtensionsFor(bits)) {
    const std::string out = folder + "/chart" + extension;
    ExpectSucceeded(RunTool({"halftone", "--bits", std::to_string(bits), cli::ChartPath(), out}));
    decoded.push_back(ReadDots(out));
    const DotImage& image = decoded.back();
    SCOPED_TRACE(out + " (" + image.encoding + ")");
    EXPECT_EQ(image.width, 1024);
    EXPECT_EQ(image.height, 768);
    EXPECT_EQ(image.bits, bits);
    if (extension == ".png") {
      EXPECT_EQ(image.encoding, "png gray");
    }
    if (extension == ".tif") {
      EXPECT_EQ(image.encoding, bits == 1 ? "tiff g4 min-is-white" : "tiff plain min-is-black");
    }
    ExpectCodesOfDepth(image, bits);
    EXPECT_EQ(image.codes, decoded.front().codes) << "differs from the .png";
  }
  EXPECT_EQ(cli::FolderEntries(folder).size(), ExtensionsFor(bits).size()) << "stray files";
}

INSTANTIATE_TEST_SUITE_P(Depths, HalftoneChart, ::testing::Values(1, 2, 4));

TEST(HalftoneChart, FourBitStatsReportCoverageAndQuality) {
  const std::string out = cli::ScratchFolder() + "/chart.png";
  const cli::RunResult run = RunTool({"halftone", "--bits", "4", "--stats", cli::ChartPath(), out});
  ExpectSucceeded(run);
  // "<out>: 1024x768, 4 bit, source ink S %, dots D %, ink I %, tone error T, block error B,
  //  HVS PSNR P dB"
  const size_t figures = run.out.find(": 1024x768, 4 bit, ");
  ASSERT_NE(figures, std::string::npos) << run.out;
  double sourceInk = -1, dots = -1, ink = -1, toneError = 1e9, blockError = -1, psnr = -1;
  ASSERT_EQ(std::sscanf(run.out.c_str() + figures,
                        ": 1024x768, 4 bit, source ink %lf %%, dots %lf %%, ink %lf %%, tone error "
                        "%lf, block error %lf, HVS PSNR %lf dB\n",
                        &sourceInk, &dots, &ink, &toneError, &blockError, &psnr),
            6)
      << run.out;
  // The 4-bit path lays the image's own ink (it uses no tone curve), so the screened greys
  // agree with the chart in the mean, block by block, and seen through the eye's low-pass.
  EXPECT_NEAR(dots, sourceInk, 1.0);
  EXPECT_EQ(dots, ink);
  EXPECT_NEAR(toneError, 255.0 * (sourceInk - dots) / 100.0, 0.05);
  EXPECT_LT(blockError, 3.0);
  EXPECT_GT(psnr, 25.0);
  EXPECT_NEAR(100.0 * ReadDots(out).DotFraction(), dots, 0.01);
}

TEST(HalftoneChart, GeneratedPatternNeedsNoInput) {
  const std::string out = cli::ScratchFolder() + "/ramp.pbm";
  ExpectSucceeded(RunTool({"halftone", "--type", "0", "--size", "96x40", out}));
  const DotImage image = ReadDots(out);
  EXPECT_EQ(image.width, 96);
  EXPECT_EQ(image.height, 40);
}

TEST(HalftoneChart, EveryImageOptionIsAccepted) {
  const std::string folder = cli::ScratchFolder();
  ExpectSucceeded(RunTool({"halftone", "--bits", "2", "--type", "40", "--dot-mode", "2", "--cell",
                           "2x3", "--quality", "-1", "--template-diffusion", "--quiet",
                           cli::ChartPath(), folder + "/a.png"}));
  ExpectSucceeded(
      RunTool({"halftone", "--type=42", "--quality=100", cli::ChartPath(), folder + "/b.PNG"}));
  EXPECT_EQ(cli::ReadPngDots(folder + "/b.PNG").width, 1024);
}

TEST(Template, CoverageFollowsTheLevelAndDotsAgreeAcrossDepths) {
  const std::string folder = cli::ScratchFolder();
  for (int level : {0, 10, 50, 90, 100}) {
    SCOPED_TRACE("level " + std::to_string(level));
    std::vector<DotImage> depths;
    for (int bits : {1, 2, 4}) {
      const std::string out =
          folder + "/t" + std::to_string(level) + "-" + std::to_string(bits) + ".png";
      ExpectSucceeded(RunTool({"template", "--level", std::to_string(level), "--bits",
                               std::to_string(bits), "--size", "128x96", out}));
      depths.push_back(ReadDots(out));
      ASSERT_EQ(depths.back().width, 128);
      ASSERT_EQ(depths.back().bits, bits);
      EXPECT_NEAR(100.0 * depths.back().DotFraction(), level, 1.0);
      EXPECT_EQ(depths.back().CountCode(0) + depths.back().CountCode((1 << bits) - 1), 128 * 96)
          << "a template pixel is a whole dot or none";
    }
    for (size_t i = 0; i < depths[0].codes.size(); ++i)
      ASSERT_EQ(depths[0].codes[i] != 0, depths[2].codes[i] != 0) << "pixel " << i;
  }
}

TEST(Template, StatsLineReportsTheCoverage) {
  const std::string out = cli::ScratchFolder() + "/t.pgm";
  const cli::RunResult run =
      RunTool({"template", "--level", "50", "--bits", "2", "--size", "64x64", "--stats", out});
  ExpectSucceeded(run);
  double dots = -1.0, large = -1.0, ink = -1.0;
  const std::string format = out +
                             ": 64x64, 2 bit, dots %lf %% (small 0.00 %%, medium 0.00 %%, "
                             "large %lf %%), ink %lf %%\n";
  ASSERT_EQ(std::sscanf(run.out.c_str(), format.c_str(), &dots, &large, &ink), 3) << run.out;
  EXPECT_EQ(dots, large) << "a template has large dots only";
  EXPECT_EQ(dots, ink);
  EXPECT_NEAR(dots, 50.0, 1.0);
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST(Split, PlanesAreDisjointAndCoverTheArea) {
  const std::string folder = cli::ScratchFolder();
  for (int planes : {2, 3, 4}) {
    SCOPED_TRACE(std::to_string(planes) + " planes");
    const std::string prefix = folder + "/split" + std::to_string(planes);
    ExpectSucceeded(
        RunTool({"split", "--planes", std::to_string(planes), "--size", "70x33", prefix}));
    std::vector<int> owners(70 * 33, 0);
    for (int k = 1; k <= planes; ++k) {
      const DotImage plane = ReadDots(prefix + "-" + std::to_string(k) + ".png");
      ASSERT_EQ(plane.codes.size(), owners.size());
      ASSERT_EQ(plane.bits, 2);
      for (size_t i = 0; i < owners.size(); ++i) {
        ASSERT_TRUE(plane.codes[i] == 0 || plane.codes[i] == 3);
        owners[i] += plane.codes[i] == 3;
      }
    }
    for (size_t i = 0; i < owners.size(); ++i) ASSERT_EQ(owners[i], 1) << "pixel " << i;
  }
}

TEST(Split, PrefixExtensionChoosesTheFormat) {
  const std::string folder = cli::ScratchFolder();
  ExpectSucceeded(RunTool({"split", "--planes", "2", "--size", "8x8", folder + "/p.pgm"}));
  EXPECT_TRUE(cli::FileExists(folder + "/p-1.pgm"));
  EXPECT_TRUE(cli::FileExists(folder + "/p-2.pgm"));
  EXPECT_EQ(cli::FolderEntries(folder).size(), 2u);
}

TEST(Info, ReportsTheParameterFileOfTheBucketedLevel) {
  const std::string folder = cli::ScratchFolder();
  cli::WriteFileBytes(folder + "/QntPassParam_10.ini", "[QNT_CURVE]\nEffectiveParams=0\n");
  const cli::Environment custom{{{"KORVEL_DATA_DIR", folder}}, {}};
  cli::RunResult run = RunTool({"info", "--quality", "14"}, custom);
  ExpectSucceeded(run);
  EXPECT_NE(run.out.find("korvel 1.0.0\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("quality level: 14, read as 10"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("parameter file: " + folder + "/QntPassParam_10.ini (found)"),
            std::string::npos)
      << run.out;

  run = RunTool({"info", "--quality", "95"}, custom);
  EXPECT_NE(run.out.find(folder + "/QntPassParam_100.ini (not found)"), std::string::npos)
      << run.out;

  // Unset, the folder beside the built tool is used, and the build keeps the data there.
  run = RunTool({"info"}, cli::Environment{{}, {"KORVEL_DATA_DIR"}});
  EXPECT_NE(run.out.find("/Data/QntPassParam_50.ini (found)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("beside the executable"), std::string::npos) << run.out;
}

TEST(Info, WarnsWhenAScreenWouldRunWithoutItsToneCurve) {
  const std::string folder = cli::ScratchFolder();
  const cli::Environment empty{{{"KORVEL_DATA_DIR", folder}}, {}};
  cli::RunResult run = RunTool({"halftone", cli::ChartPath(), folder + "/a.png"}, empty);
  ExpectSucceeded(run);
  EXPECT_NE(run.err.find("warning: " + folder + "/QntPassParam_50.ini not found"),
            std::string::npos)
      << run.err;
  run = RunTool({"halftone", "--quiet", cli::ChartPath(), folder + "/b.png"}, empty);
  EXPECT_EQ(run.err, "");
  run = RunTool({"halftone", "--quality", "0", cli::ChartPath(), folder + "/c.png"}, empty);
  EXPECT_EQ(run.err, "") << "level 0 uses the built-in curve";
}

TEST(Usage, ProgressBarOnlyOnATerminalAndNotWhenQuiet) {
  const std::string folder = cli::ScratchFolder();
  // A large pattern: the bar is drawn for jobs of a few million pixels.
  const std::vector<std::string> job{"halftone", "--bits", "2",        "--type",
                                     "2",        "--size", "4096x1024"};
  std::vector<std::string> arguments = job;
  arguments.push_back(folder + "/a.pgm");
  cli::RunResult run = cli::RunToolOnTerminal(arguments);
  ExpectSucceeded(run);
  EXPECT_NE(run.out.find("korvel ["), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("100%"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\r\033[K"), std::string::npos) << "the bar is erased at the end";

  arguments = job;
  arguments.insert(arguments.end(), {"--quiet", folder + "/b.pgm"});
  run = cli::RunToolOnTerminal(arguments);
  ExpectSucceeded(run);
  EXPECT_EQ(run.out, "");

  arguments = job;
  arguments.push_back(folder + "/c.pgm");
  run = RunTool(arguments);  // stderr is a file here
  ExpectSucceeded(run);
  EXPECT_EQ(run.err, "");
}

TEST(Usage, HelpAndVersionSucceed) {
  cli::RunResult run = RunTool({"--help"});
  ExpectSucceeded(run);
  EXPECT_NE(run.out.find("halftone [options] IN OUT"), std::string::npos);
  run = RunTool({"--version"});
  EXPECT_EQ(run.out, "korvel 1.0.0\n");
}

}  // namespace
