// Jobs that name what the filter must not use: broken parameter files, curve files outside the
// curve folder or that are not small regular files. Each ends at once with an ERROR line, never
// a blank page. (A cancel while the filter waits for input is among the stops of filter_test.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "parameter_files.h"
#include "raster_io.h"

namespace cupstest {
namespace {

std::vector<std::vector<uint8_t>> Grey() {
  std::vector<std::vector<uint8_t>> grey(1);
  for (int i = 0; i < 64 * 8; ++i) grey[0].push_back(uint8_t(i * 5));
  return grey;
}

ProgramRun TimedFilter(const std::string& folder, const std::string& options,
                       const std::vector<std::string>& environment, const std::string& what) {
  return test::BoundedRun({KORVEL_FILTER, "7", "user", "title", "1", options, folder + "/in.ras"},
                          folder + "/out.ras", environment, what);
}

TEST(FilterHostileJobs, UnusableParameterFilesAreErrorsNotBlankPages) {
  const std::string folder = ScratchFolder(), data = folder + "/data";
  std::filesystem::create_directory(data);
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8)});
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
  const std::string folder = ScratchFolder();
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8)});
  const std::vector<std::string> env = {"KORVEL_DATA_DIR=/" + std::string(300, 'd')};
  ExpectFilterError(TimedFilter(folder, "korvel-quality=0", env, "long folder"), "long folder",
                    "too long for the library");
}

TEST(FilterHostileJobs, CurvesComeOnlyFromTheCurveFolderAndAreNeverQuoted) {
  const std::string folder = ScratchFolder(), curves = folder + "/curves";
  std::filesystem::create_directory(curves);
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8)});
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
  // A curve file of the folder with a long word: a short escaped fragment is quoted.
  std::ofstream(curves + "/word") << "0 " << std::string(1 << 16, 'W') << "\x01 100";
  const ProgramRun word = TimedFilter(folder, "korvel-curve-K=word", env, "curve with a long word");
  ExpectFilterError(word, "word", "'WWWWWWWWWWWWWWWW...'");
  EXPECT_LT(word.err.size(), 400u);
  for (const std::string& special : test::SpecialFiles(folder)) {
    const std::string name = "special";
    std::filesystem::remove(curves + "/" + name);
    ASSERT_EQ(symlink(special.c_str(), (curves + "/" + name).c_str()), 0);
    const ProgramRun run = TimedFilter(folder, "korvel-curve-K=" + name, env,
                                       "curve " + special.substr(special.rfind('/')));
    EXPECT_EQ(run.exitCode, 1) << special << "\n" << run.err;
    EXPECT_TRUE(run.err.find("not a regular file") != std::string::npos ||
                run.err.find("larger than") != std::string::npos)
        << special << "\n"
        << run.err;
  }
}

}  // namespace
}  // namespace cupstest
