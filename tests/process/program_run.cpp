#include "program_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace test {

ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& outPath,
                      const std::string& inPath, const std::vector<std::string>& environment) {
  const std::string errPath = outPath + ".err";
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    for (const std::string& entry : environment)
      if (entry.find('=') == std::string::npos)
        unsetenv(entry.c_str());
      else
        putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> words;
    for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
    words.push_back(nullptr);
    if ((inPath.empty() || freopen(inPath.c_str(), "rb", stdin)) &&
        freopen(outPath.c_str(), "wb", stdout) && freopen(errPath.c_str(), "wb", stderr))
      execvp(words[0], words.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  const bool exited = child > 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status);
  return {exited ? WEXITSTATUS(status) : -1, ReadFile(errPath), usage.ru_maxrss};
}

ProgramRun BoundedRun(const std::vector<std::string>& argv, const std::string& outPath,
                      const std::vector<std::string>& environment, const std::string& what) {
  const auto start = std::chrono::steady_clock::now();
  const ProgramRun run = RunProgram(argv, outPath, "", environment);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("    %-40s %.3f s, %ld KB\n", what.c_str(), seconds, run.peakKilobytes);
  EXPECT_LT(seconds, 10.0) << what;
  EXPECT_LT(run.peakKilobytes, MemoryBound(64 * 1024)) << what;
  return run;
}

long MemoryBound(long kilobytes) {
  std::filesystem::create_directories(KORVEL_SCRATCH);
  const ProgramRun nothing = RunProgram({"true"}, std::string(KORVEL_SCRATCH) + "/true.out");
  return nothing.peakKilobytes + kilobytes;
}

std::string ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  std::replace(name.begin(), name.end(), '/', '_');
  const std::string folder = std::string(KORVEL_SCRATCH) + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadFile(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::vector<std::string> SpecialFiles(const std::string& folder) {
  const std::string fifo = folder + "/fifo", sparse = folder + "/sparse";
  EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int fd = open(sparse.c_str(), O_WRONLY | O_CREAT, 0600);
  EXPECT_EQ(ftruncate(fd, off_t{1} << 30), 0);
  close(fd);
  return {fifo, "/dev/zero", sparse, folder};
}

}  // namespace test
