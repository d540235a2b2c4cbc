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
  return ComposePassParamPath(level, path) ? path : "<refused>";
}

std::string Directory(const char* file, size_t capacity = kExeDirectoryCapacity) {
  char directory[kExeDirectoryCapacity] = "garbage";
  DirectoryOfFile(file, directory, capacity);
  return directory;
}

TEST(PassParamFile, DirectoryIsThePathBeforeItsLastSlash) {
  EXPECT_EQ(Directory("/opt/rip/bin/host"), "/opt/rip/bin");
  EXPECT_EQ(Directory("host"), "host");
  EXPECT_EQ(Directory("/host"), "");
  EXPECT_EQ(Directory("/abcdefgh/x", 9), "");  // does not fit
  char unused[8];
  EXPECT_FALSE(DirectoryOfFile("/abcdefgh/x", unused, sizeof unused));
  EXPECT_TRUE(DirectoryOfFile("/host", unused, sizeof unused));  // the root folder is known
  char exe[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  char own[kExeDirectoryCapacity];
  GetExeDirectory(own);
  EXPECT_EQ(Directory(exe), own);
}

TEST(PassParamFile, PathComesFromTheDataFolderOrTheOverride) {
  test::ScopedDataDir scoped;  // restores the variable afterwards
  char exeDir[kExeDirectoryCapacity];
  GetExeDirectory(exeDir);
  unsetenv(kDataDirVariable);
  EXPECT_EQ(PathOf(10), std::string(exeDir) + "/Data/QntPassParam_10.ini");
  setenv(kDataDirVariable, "", 1);
  EXPECT_EQ(PathOf(-1), std::string(exeDir) + "/Data/QntPassParam_-1.ini");
  // 255 characters are the limit; one more is a missing file.
  const std::string longest(255 - std::string("/QntPassParam_100.ini").size(), 'd');
  setenv(kDataDirVariable, longest.c_str(), 1);
  EXPECT_EQ(PathOf(100), longest + "/QntPassParam_100.ini");
  setenv(kDataDirVariable, (longest + "d").c_str(), 1);
  EXPECT_EQ(PathOf(100), "<refused>");
}

// A program whose directory cannot be determined (its path is too long) has no parameter
// files: nothing is looked up at /Data in the root folder, and every key reads 0.
TEST(PassParamFile, UnknownProgramDirectoryIsAMissingFile) {
  char path[kPassParamPathCapacity] = "garbage";
  EXPECT_FALSE(ComposePassParamPathFrom(nullptr, nullptr, 50, path));
  EXPECT_STREQ(path, "");
  EXPECT_FALSE(ComposePassParamPathFrom("", nullptr, 50, path));
  ASSERT_TRUE(ComposePassParamPathFrom(nullptr, "", 50, path));  // a program in the root folder
  EXPECT_STREQ(path, "/Data/QntPassParam_50.ini");
  ASSERT_TRUE(ComposePassParamPathFrom("/etc/korvel", nullptr, 50, path));  // the override
  EXPECT_STREQ(path, "/etc/korvel/QntPassParam_50.ini");
}

}  // namespace
