// Where the parameter files are looked for, and how a level's file is read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "config/exe_directory.h"
#include "config/pass_param_file.h"
#include "data_dir.h"

namespace {

std::string PathOf(int level) {
  char path[kPassParamPathCapacity];
  return ComposePassParamPath(level, path) ? std::string(path) : std::string("<refused>");
}

TEST(PassParamFile, DirectoryIsThePathBeforeItsLastSlash) {
  const struct {
    const char* file;
    const char* directory;
  } cases[] = {{"/opt/rip/bin/host", "/opt/rip/bin"}, {"host", "host"}, {"/host", ""}};
  for (const auto& c : cases) {
    char directory[kExeDirectoryCapacity];
    DirectoryOfFile(c.file, directory, sizeof directory);
    EXPECT_STREQ(directory, c.directory);
  }
  char small[8] = "garbage";
  DirectoryOfFile("/abcdefgh/x", small, sizeof small);  // 9 characters do not fit
  EXPECT_STREQ(small, "");
}

TEST(PassParamFile, ExecutableDirectoryHoldsTheRunningProgram) {
  char exe[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  char directory[kExeDirectoryCapacity];
  GetExeDirectory(directory);
  const std::string name(exe);
  EXPECT_EQ(name.substr(0, name.rfind('/')), directory);
}

TEST(PassParamFile, PathComesFromTheDataFolderOrTheOverride) {
  test::ScopedDataDir scoped;  // saves and restores the variable
  unsetenv(kDataDirVariable);
  char exeDir[kExeDirectoryCapacity];
  GetExeDirectory(exeDir);
  EXPECT_EQ(PathOf(10), std::string(exeDir) + "/Data/QntPassParam_10.ini");
  setenv(kDataDirVariable, "", 1);
  EXPECT_EQ(PathOf(-1), std::string(exeDir) + "/Data/QntPassParam_-1.ini");
  setenv(kDataDirVariable, "/srv/curves", 1);
  EXPECT_EQ(PathOf(100), "/srv/curves/QntPassParam_100.ini");

  // 255 characters are the limit; one more is a missing file.
  const std::string suffix = "/QntPassParam_100.ini";
  const std::string longest(255 - suffix.size(), 'd');
  setenv(kDataDirVariable, longest.c_str(), 1);
  EXPECT_EQ(PathOf(100), longest + suffix);
  setenv(kDataDirVariable, (longest + "d").c_str(), 1);
  EXPECT_EQ(PathOf(100), "<refused>");
  EXPECT_EQ(PassParamFile(100).Read(kCurveSection, kCurveCountKey), 0);
}

TEST(PassParamFile, ReadsKeysOfTheLevelsFileAndZeroWhenMissing) {
  test::ScopedDataDir dir;
  dir.Write(30, "[QNT_CURVE]\nEffectiveParams=4\nParam1=-3\n[QNT_COMPENSATION]\nParam0=60\n");
  const PassParamFile file(30);
  EXPECT_EQ(file.Read(kCurveSection, kCurveCountKey), 4);
  EXPECT_EQ(file.ReadParam(kCurveSection, 1), -3);
  EXPECT_EQ(file.ReadParam(kCurveSection, 2), 0);
  EXPECT_EQ(file.ReadParam(kCompensationSection, 0), 60);
  EXPECT_EQ(PassParamFile(40).ReadParam(kCompensationSection, 0), 0);
}

}  // namespace
