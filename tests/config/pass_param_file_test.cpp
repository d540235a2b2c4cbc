// Where the parameter files are looked for: the override folder, else Data beside the program;
// a program whose folder cannot be told has no parameter files at all.
#include <gtest/gtest.h>

#include <string>

#include "config/exe_directory.h"
#include "config/pass_param_file.h"

namespace {

std::string Directory(const char* file, size_t capacity = kExeDirectoryCapacity) {
  char directory[kExeDirectoryCapacity] = "garbage";
  return DirectoryOfFile(file, directory, capacity) ? directory : "<unknown>";
}

std::string PathOf(const char* dataDir, const char* exeDirectory, int level) {
  char path[kPassParamPathCapacity] = "garbage";
  const bool known = ComposePassParamPathFrom(dataDir, exeDirectory, level, path);
  EXPECT_EQ(known, path[0] != '\0');
  return path;
}

TEST(PassParamFile, PathComesFromTheOverrideOrTheProgramsFolder) {
  EXPECT_EQ(Directory("/opt/rip/bin/host"), "/opt/rip/bin");
  EXPECT_EQ(Directory("/host"), "");                    // the root folder
  EXPECT_EQ(Directory("/abcdefgh/x", 9), "<unknown>");  // does not fit
  EXPECT_EQ(PathOf("/etc/korvel", "/opt", 50), "/etc/korvel/QntPassParam_50.ini");
  EXPECT_EQ(PathOf("", "/opt", -1), "/opt/Data/QntPassParam_-1.ini");
  EXPECT_EQ(PathOf(nullptr, "", 50), "/Data/QntPassParam_50.ini");
  EXPECT_EQ(PathOf(nullptr, nullptr, 50), "");  // unknown folder: no file, every key reads 0
  EXPECT_EQ(PathOf(std::string(250, 'd').c_str(), nullptr, 100), "");  // too long
}

}  // namespace
