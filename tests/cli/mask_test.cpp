// korvel mask make / mask apply: stored blue-noise masks made by the mask maker and screened
// through the library's mask object.
#include <gtest/gtest.h>

#include "cli_support.h"

namespace {

using cli::RunTool;

void ExpectSucceeded(const cli::RunResult& run) {
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.signal, 0);
}

std::string FlatGreyPgm(int width, int height, uint8_t grey) {
  return "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" +
         std::string(static_cast<size_t>(width) * height, static_cast<char>(grey));
}

class Mask : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = cli::ScratchFolder();
    mask_ = folder_ + "/blue.mask";
    ExpectSucceeded(
        RunTool({"mask", "make", "--planes", "2", "--size", "32x16", "--seed", "7", mask_}));
  }
  cli::DotImage Apply(const std::vector<std::string>& options, const std::string& input,
                      const std::string& name) {
    std::vector<std::string> arguments{"mask", "apply"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const std::string out = folder_ + "/" + name;
    arguments.insert(arguments.end(), {mask_, input, out});
    ExpectSucceeded(RunTool(arguments));
    return cli::ReadDots(out);
  }
  std::string folder_;
  std::string mask_;
};

TEST_F(Mask, StoredMaskHasTheDeclaredSizeAndIsReproducible) {
  EXPECT_EQ(cli::ReadFileBytes(mask_).size(), 20u + 4u * 2 * 32 * 16);
  ExpectSucceeded(RunTool({"mask", "make", "--planes", "2", "--size", "32x16", "--seed", "7",
                           folder_ + "/again.mask"}));
  EXPECT_EQ(cli::ReadFileBytes(folder_ + "/again.mask"), cli::ReadFileBytes(mask_));
  ExpectSucceeded(RunTool({"mask", "make", "--planes", "2", "--size", "32x16", "--seed", "8",
                           folder_ + "/other.mask"}));
  EXPECT_NE(cli::ReadFileBytes(folder_ + "/other.mask"), cli::ReadFileBytes(mask_));
}

TEST_F(Mask, FlatGreyGetsItsInkShareAtBothDepths) {
  const std::string grey = folder_ + "/grey.pgm";
  cli::WriteFileBytes(grey, FlatGreyPgm(64, 32, 100));  // a whole number of mask tiles
  const double expected = (255.0 - 100.0) / 255.0 * 64 * 32;
  for (const char* bits : {"1", "2"}) {
    SCOPED_TRACE(std::string(bits) + " bit");
    const cli::DotImage image = Apply({"--bits", bits}, grey, std::string("grey") + bits + ".png");
    ASSERT_EQ(image.width, 64);
    EXPECT_NEAR(static_cast<double>(image.CountCode((1 << image.bits) - 1)), expected, 4.0);
    EXPECT_EQ(image.CountCode(0) + image.CountCode((1 << image.bits) - 1), 64 * 32);
  }
}

TEST_F(Mask, PlaneAndOffsetChooseTheThresholds) {
  const std::string chart = cli::ChartPath();
  const cli::DotImage base = Apply({}, chart, "base.pbm");
  EXPECT_EQ(Apply({"--offset", "32x16"}, chart, "whole-tile.pbm").codes, base.codes)
      << "an offset of one whole mask tile changes nothing";
  EXPECT_NE(Apply({"--offset", "-1x0"}, chart, "shifted.pbm").codes, base.codes);
  EXPECT_NE(Apply({"--plane", "1"}, chart, "plane1.pbm").codes, base.codes);
  EXPECT_NE(Apply({"--step", "0x1"}, chart, "step.pbm").codes, base.codes);
}

TEST_F(Mask, BadMasksAndSettingsAreRefused) {
  const std::string chart = cli::ChartPath();
  const std::string out = folder_ + "/out.png";
  const std::string stored = cli::ReadFileBytes(mask_);
  cli::WriteFileBytes(folder_ + "/cut.mask", stored.substr(0, stored.size() - 1));
  cli::WriteFileBytes(folder_ + "/noise.mask", std::string(100, '\x5a'));
  cli::WriteFileBytes(folder_ + "/tiny.mask", "0123");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"mask", "apply", folder_ + "/cut.mask", chart, out}, "not a stored korvel mask"},
      {{"mask", "apply", folder_ + "/noise.mask", chart, out}, "not a stored korvel mask"},
      {{"mask", "apply", folder_ + "/tiny.mask", chart, out}, "not a stored korvel mask (4 bytes)"},
      {{"mask", "apply", folder_ + "/absent.mask", chart, out}, "cannot open"},
      {{"mask", "apply", "--plane", "2", mask_, chart, out}, "the mask has no plane 2"},
      {{"mask", "apply", "--bits", "4", mask_, chart, out}, "--bits 4 is out of range (1 to 2)"},
      {{"mask", "apply", "--step", "-1x1", mask_, chart, out}, "--step X -1 is out of range"},
      {{"mask", "apply", mask_, chart}, "mask apply takes three files"},
      {{"mask", "make", "--size", "2048x1024", out}, "a mask plane holds at most"},
      {{"mask", "make", "--planes", "0", out}, "--planes 0 is out of range"},
      {{"mask", "make", "--max", "0", out}, "--max 0 is out of range"},
      {{"mask", "shuffle"}, "mask needs a subcommand"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(message);
    const cli::RunResult run = RunTool(arguments);
    EXPECT_EQ(run.signal, 0);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_FALSE(cli::FileExists(out));
  }
}

}  // namespace
