// Where the tool finds the parameter files and what it does when a screen's file is missing.
#include <gtest/gtest.h>

#include <cstdio>

#include "tool_runner.h"

namespace {

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = cli::ScratchFolder();
    environment_ = {"KORVEL_DATA_DIR=" + folder_};
  }
  cli::Run Halftone(const std::string& line) {
    return cli::RunTool(cli::Command("halftone " + line + " CHART out.pgm", folder_), environment_);
  }
  std::string folder_;
  std::vector<std::string> environment_;
};

TEST_F(DataFolder, AMissingFileIsAnErrorOnlyForScreensThatReadIt) {
  cli::ExpectRefused(Halftone(""), 1,
                     folder_ +
                         "/QntPassParam_50.ini: the quality level's parameter file is "
                         "missing or unusable");
  cli::ExpectRefused(Halftone("--quality 14 --template-diffusion"), 1,
                     "QntPassParam_10.ini: the quality level's parameter file is missing");
  // The compensation ramp of type 38 comes from the file at every level.
  cli::ExpectRefused(Halftone("--type 38 --quality 0"), 1, "QntPassParam_0.ini not found");
  // A file whose curve the library would not use screens to a blank page just the same.
  cli::WriteFile(folder_ + "/QntPassParam_50.ini", "[qnt_curve]\n effectiveparams = 2\nParam1=0\n");
  cli::ExpectRefused(Halftone(""), 1, "parameter file is missing or unusable");
  std::remove((folder_ + "/QntPassParam_50.ini").c_str());
  EXPECT_EQ(cli::EntriesIn(folder_), 0u) << "nothing written";
  // Level 0 asks for the identity curve and -1 for the built-in one; the other screens read no
  // curve at all.
  for (const char* options : {"--quality 0", "--quality -1", "--type 42", "--bits 2", "--bits 4"})
    cli::ExpectSuccess(Halftone(options));
}

TEST_F(DataFolder, KorvelDataDirIsWhereTheToolAndTheLibraryLook) {
  cli::ExpectSuccess(Halftone("--quality 0"));
  const std::string identity = cli::ReadFile(folder_ + "/out.pgm");
  cli::WriteFile(folder_ + "/QntPassParam_70.ini",
                 "[QNT_CURVE]\nEffectiveParams=3\nParam1=0\nParam2=25\nParam3=50\n");
  cli::ExpectSuccess(Halftone("--quality 72"));
  EXPECT_NE(cli::ReadFile(folder_ + "/out.pgm"), identity) << "the level's curve is used";
  cli::Run run = cli::RunTool({"info", "--quality", "72"}, environment_);
  cli::ExpectSuccess(run);
  EXPECT_NE(run.out.find("quality level: 72, read as 70"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(folder_ + "/QntPassParam_70.ini (found)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("data folder: " + folder_ + " (KORVEL_DATA_DIR)\n"), std::string::npos)
      << run.out;
  run = cli::RunTool({"info", "--quality", "-1"}, environment_);
  EXPECT_NE(run.out.find("read as -1 (built-in curve"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(folder_ + "/QntPassParam_-1.ini (not found)"), std::string::npos);
  // Unset, the Data folder beside the built tool is used; the build keeps the bundled files there.
  run = cli::RunTool({"info"}, {"KORVEL_DATA_DIR"});
  EXPECT_NE(run.out.find("/Data/QntPassParam_50.ini (found)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("beside the executable"), std::string::npos) << run.out;
}

}  // namespace
