// Jobs that name what the filter must not use: broken parameter files, curve files outside the
// curve folder. Each ends at once with an ERROR line, never a blank page. (A cancel while the
// filter waits for input is among the stops of filter_test; curve files that are no small
// regular file, and their quoting, are checked on the tool, which reads them the same way.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "parameter_files.h"
#include "raster_io.h"

namespace cupstest {
namespace {

// A scratch folder for the test holding in.ras, a grey 64 x 8 page.
std::string FolderWithAGreyPage() {
  const std::string folder = ScratchFolder();
  std::vector<std::vector<uint8_t>> grey(1);
  for (int i = 0; i < 64 * 8; ++i) grey[0].push_back(uint8_t(i * 5));
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, grey, 64, 8)});
  return folder;
}

ProgramRun TimedFilter(const std::string& folder, const std::string& options,
                       const std::vector<std::string>& environment, const std::string& what) {
  return test::BoundedRun({KORVEL_FILTER, "7", "user", "title", "1", options, folder + "/in.ras"},
                          folder + "/out.ras", environment, what);
}

TEST(FilterHostileJobs, UnusableParameterFilesAreErrorsNotBlankPages) {
  const std::string folder = FolderWithAGreyPage(), data = folder + "/data";
  std::filesystem::create_directory(data);
  const std::string file = data + "/QntPassParam_50.ini";
  const std::vector<std::string> env = {"KORVEL_DATA_DIR=" + data};
  test::ForEachUnusableParameterFile(
      file, test::SpecialFiles(folder), [&](const std::string& what) {
        ExpectFilterError(TimedFilter(folder, "korvel-quality=50", env, "parameter file: " + what),
                          what, "parameter file is missing or unusable");
      });
}

// A folder named in the environment that is too long for the library is refused, even for a
// level that reads no file: the filter does not screen from a folder other than the one named.
TEST(FilterHostileJobs, AFolderTooLongForTheLibraryIsRefused) {
  const std::string folder = FolderWithAGreyPage();
  const std::vector<std::string> env = {"KORVEL_DATA_DIR=/" + std::string(300, 'd')};
  ExpectFilterError(TimedFilter(folder, "korvel-quality=0", env, "long folder"), "long folder",
                    "too long for the library");
}

TEST(FilterHostileJobs, CurvesComeOnlyFromTheCurveFolderAndAreNeverQuoted) {
  const std::string folder = FolderWithAGreyPage(), curves = folder + "/curves";
  std::filesystem::create_directory(curves);
  const std::vector<std::string> env = {"KORVEL_CURVE_DIR=" + curves};
  std::ofstream(curves + "/gentle") << "0 40 100";
  const ProgramRun good = TimedFilter(folder, "korvel-curve-K=gentle", env, "curve in the folder");
  EXPECT_EQ(good.exitCode, 0) << good.err;
  for (const char* name : {"/etc/passwd", "../../../../etc/passwd", ".hidden", "a/b", ""}) {
    const ProgramRun run = TimedFilter(folder, std::string("korvel-curve-K=") + name, env,
                                       std::string("curve ") + name);
    ExpectFilterError(run, name, "a tone curve is named by a file name of the curve folder");
    EXPECT_EQ(run.err.find("root"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace cupstest
