// A temporary folder of parameter files that KORVEL_DATA_DIR points at while the object lives;
// afterwards the folder is removed and the variable restored.
#ifndef KORVEL_TESTS_CONFIG_DATA_DIR_H
#define KORVEL_TESTS_CONFIG_DATA_DIR_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "config/pass_param_file.h"

namespace test {

class ScopedDataDir {
 public:
  ScopedDataDir() {
    char pattern[] = "/tmp/korvel-data-XXXXXX";
    path_ = mkdtemp(pattern);
    if (const char* old = std::getenv(kDataDirVariable)) saved_ = old;
    setenv(kDataDirVariable, path_.c_str(), 1);
  }
  ~ScopedDataDir() {
    saved_ ? setenv(kDataDirVariable, saved_->c_str(), 1) : unsetenv(kDataDirVariable);
    std::filesystem::remove_all(path_);
  }
  const std::string& path() const { return path_; }
  std::string FileOf(int level) const {
    return path_ + "/QntPassParam_" + std::to_string(level) + ".ini";
  }
  void Write(int level, const std::string& text) const {
    std::ofstream(FileOf(level), std::ios::binary) << text;
  }

 private:
  std::string path_;
  std::optional<std::string> saved_;
};

}  // namespace test

#endif
