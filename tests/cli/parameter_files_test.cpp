// The tool's 1- and 2-bit screens follow the tone curve of the quality level's parameter file,
// found beside the built tool or through KORVEL_DATA_DIR.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli_support.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 128;

// A flat grey of 128: 49.8 % ink.
std::string FlatGrey(const std::string& folder) {
  const std::string path = folder + "/grey.pgm";
  cli::WriteFileBytes(path, "P5\n256 128\n255\n" + std::string(kWidth * kHeight, '\x80'));
  return path;
}

// The curve's middle point, the ink laid for 50 % requested: Param6 of 11.
int MidtonePercent(int level) {
  const std::string text = cli::ReadFileBytes(
      std::string(KORVEL_DATA_SOURCE) + "/Data/QntPassParam_" + std::to_string(level) + ".ini");
  const size_t at = text.find("\nParam6=");
  EXPECT_NE(at, std::string::npos);
  return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 8);
}

double DotPercent(const cli::RunResult& run, const std::string& out) {
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return 100.0 * cli::ReadDots(out).DotFraction();
}

TEST(ParameterFiles, MidtoneCoverageFollowsTheLevelsCurve) {
  const std::string folder = cli::ScratchFolder();
  const std::string grey = FlatGrey(folder);
  const std::string out = folder + "/out.pbm";
  // Level 0 keeps the identity curve: the screen lays the image's own ink.
  EXPECT_NEAR(DotPercent(cli::RunTool({"halftone", "--quality", "0", grey, out}), out), 49.8, 1.0);
  double previous = 100.0;
  for (int level : {10, 50, 100}) {
    SCOPED_TRACE("level " + std::to_string(level));
    const double dots =
        DotPercent(cli::RunTool({"halftone", "--quality", std::to_string(level), grey, out}), out);
    // The point lies at exactly 50 % input; grey 128 is 49.8 %, a fraction of a percent lower.
    EXPECT_NEAR(dots, MidtonePercent(level), 1.0);
    EXPECT_LT(dots, previous) << "more compensation at a higher level";
    previous = dots;
  }
}

TEST(ParameterFiles, AnEditedFileInKorvelDataDirIsUsed) {
  const std::string folder = cli::ScratchFolder();
  const std::string grey = FlatGrey(folder);
  const std::string out = folder + "/out.pbm";
  const cli::Environment data{{{"KORVEL_DATA_DIR", folder}}, {}};
  // A straight curve through 0, 25 and 50 % halves every tone.
  cli::WriteFileBytes(folder + "/QntPassParam_70.ini",
                      "[QNT_CURVE]\nEffectiveParams=3\nParam1=0\nParam2=25\nParam3=50\n");
  EXPECT_NEAR(DotPercent(cli::RunTool({"halftone", "--quality", "70", grey, out}, data), out), 24.9,
              1.0);
  // No file for the level: the curve is flat, the output blank, and the tool says why.
  const cli::RunResult run = cli::RunTool({"halftone", "--quality", "40", grey, out}, data);
  EXPECT_EQ(DotPercent(run, out), 0.0);
  EXPECT_NE(run.err.find("QntPassParam_40.ini not found"), std::string::npos) << run.err;
}

TEST(ParameterFiles, DropScreenLaysTheImagesInk) {
  const std::string folder = cli::ScratchFolder();
  const std::string out = folder + "/out.png";
  const cli::RunResult run =
      cli::RunTool({"halftone", "--bits", "2", "--stats", FlatGrey(folder), out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const cli::DotImage image = cli::ReadDots(out);
  double ink = 0.0;
  for (int code = 1; code <= 3; ++code) ink += code * image.CountCode(code);
  EXPECT_NEAR(100.0 * ink / (3.0 * kWidth * kHeight), 49.8, 1.5);
  EXPECT_GT(image.CountCode(1), 0) << "small drops";
  EXPECT_NE(run.out.find("small "), std::string::npos);
}

}  // namespace
