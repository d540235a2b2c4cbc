// Jobs that name what the filter must not use: broken parameter files, curve files outside the
// curve folder or that are not small regular files, and a cancel while the filter waits for
// input. Each ends at once with an ERROR line (or, for the cancel, the stop), never a blank page.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "raster_io.h"

namespace cupstest {
namespace {

constexpr double kHangSeconds = 10;         // far above the fraction of a second these take
constexpr long kMostKilobytes = 64 * 1024;  // far above a refusal's 20 MB (sanitizers too)

std::vector<std::vector<uint8_t>> Grey() {
  std::vector<std::vector<uint8_t>> grey(1);
  for (int i = 0; i < 64 * 8; ++i) grey[0].push_back(uint8_t(i * 5));
  return grey;
}

ProgramRun TimedFilter(const std::string& folder, const std::string& options,
                       const std::vector<std::string>& environment, const std::string& what) {
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run =
      RunProgram({KORVEL_FILTER, "7", "user", "title", "1", options, folder + "/in.ras"},
                 folder + "/out.ras", "", environment);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("    %-40s %.3f s, %ld KB\n", what.c_str(), seconds, run.peakKilobytes);
  EXPECT_LT(seconds, kHangSeconds) << what;
  EXPECT_LT(run.peakKilobytes, test::MemoryBound(kMostKilobytes)) << what;
  return run;
}

void ExpectError(const ProgramRun& run, const std::string& what, const std::string& part) {
  EXPECT_EQ(run.exitCode, 1) << what << "\n" << run.err;
  EXPECT_NE(run.err.find("ERROR: "), std::string::npos) << what << "\n" << run.err;
  EXPECT_NE(run.err.find(part), std::string::npos) << what << "\n" << run.err;
}

TEST(FilterHostileJobs, UnusableParameterFilesAreErrorsNotBlankPages) {
  const std::string folder = ScratchFolder(), data = folder + "/data";
  std::filesystem::create_directory(data);
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8)});
  const std::string file = data + "/QntPassParam_50.ini";
  const std::vector<std::string> env = {"KORVEL_DATA_DIR=" + data};
  const std::pair<const char*, const char*> texts[] = {
      {"empty", ""},
      {"garbage",
       "\x7f"
       "ELF\x01\x02\x03"},
      {"2 points", "[QNT_CURVE]\nEffectiveParams=2\nParam1=0\nParam2=100\n"},
      {"2551 points, none given", "[QNT_CURVE]\nEffectiveParams=2551\n"},
      {"missing keys", "[QNT_CURVE]\nEffectiveParams=3\nParam1=0\n"},
      {"NaN", "[QNT_CURVE]\nEffectiveParams=3\nParam1=0\nParam2=NaN\nParam3=100\n"},
      {"huge", "[QNT_CURVE]\nEffectiveParams=3\nParam1=0\nParam2=99999999999\nParam3=100\n"}};
  for (const auto& [what, text] : texts) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    ExpectError(
        TimedFilter(folder, "korvel-quality=50", env, std::string("parameter file: ") + what), what,
        "parameter file is missing or unusable");
  }
  for (const std::string& special : test::SpecialFiles(folder)) {
    std::remove(file.c_str());
    ASSERT_EQ(symlink(special.c_str(), file.c_str()), 0);
    ExpectError(TimedFilter(folder, "korvel-quality=50", env,
                            "parameter file: " + special.substr(special.rfind('/'))),
                special, "parameter file is missing or unusable");
  }
}

// A folder named in the environment that is too long for the library is refused, even for a
// level that reads no file: the filter does not screen from a folder other than the one named.
TEST(FilterHostileJobs, AFolderTooLongForTheLibraryIsRefused) {
  const std::string folder = ScratchFolder();
  WriteRaster(folder + "/in.ras", {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8)});
  const std::vector<std::string> env = {"KORVEL_DATA_DIR=/" + std::string(300, 'd')};
  ExpectError(TimedFilter(folder, "korvel-quality=0", env, "long folder"), "long folder",
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
    ExpectError(run, name, "a tone curve is named by a file name of the curve folder");
    EXPECT_EQ(run.err.find("root"), std::string::npos) << run.err;
  }
  // A curve file of the folder with a long word: a short escaped fragment is quoted.
  std::ofstream(curves + "/word") << "0 " << std::string(1 << 16, 'W') << "\x01 100";
  const ProgramRun word = TimedFilter(folder, "korvel-curve-K=word", env, "curve with a long word");
  ExpectError(word, "word", "'WWWWWWWWWWWWWWWW...'");
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

// SIGTERM while the filter waits for its input, with the writer still holding the pipe open:
// the filter stops within a second instead of waiting for the writer.
TEST(FilterHostileJobs, SigtermEndsAWaitForInput) {
  const std::string folder = ScratchFolder();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const std::string out = folder + "/out.ras", err = folder + "/err.txt";
  const pid_t child = fork();
  if (child == 0) {
    close(fds[1]);
    dup2(fds[0], 0);
    if (freopen(out.c_str(), "wb", stdout) && freopen(err.c_str(), "wb", stderr))
      execl(KORVEL_FILTER, KORVEL_FILTER, "7", "user", "title", "1", "", nullptr);
    _exit(127);
  }
  close(fds[0]);
  // Half a page: the filter waits in the middle of its rows.
  const Page page = EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Grey(), 64, 8);
  cups_raster_t* raster = cupsRasterOpen(fds[1], CUPS_RASTER_WRITE);
  cups_page_header2_t header = page.header;
  cupsRasterWriteHeader2(raster, &header);
  std::vector<uint8_t> line = page.lines[0];
  cupsRasterWritePixels(raster, line.data(), unsigned(line.size()));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto start = std::chrono::steady_clock::now();
  kill(child, SIGTERM);
  int status = 0;
  pid_t ended = 0;
  while ((ended = waitpid(child, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - start < std::chrono::duration<double>(kHangSeconds))
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("    SIGTERM to exit while waiting for input: %.3f s\n", seconds);
  if (ended == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  cupsRasterClose(raster);
  close(fds[1]);
  ASSERT_EQ(ended, child) << "the filter still waits for its input";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(test::ReadFile(err).find("INFO: Stopped on request"), std::string::npos)
      << test::ReadFile(err);
}

}  // namespace
}  // namespace cupstest
