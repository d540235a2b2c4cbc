#include "support/golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace test {

GoldenFile::GoldenFile(const std::string& name)
    : path_(std::string(KORVEL_SOURCE_DIR) + "/tests/golden/" + name + ".txt"),
      update_(std::getenv("KORVEL_UPDATE_GOLDEN") != nullptr) {
  std::ifstream in(path_);
  std::string key, value;
  while (in >> key >> value) expected_[key] = value;
  if (!update_ && expected_.empty()) ADD_FAILURE() << "no golden outputs in " << path_;
}

GoldenFile::~GoldenFile() {
  if (!update_) return;
  std::ofstream out(path_);
  for (const auto& [key, value] : seen_) out << key << ' ' << value << '\n';
}

void GoldenFile::Check(const std::string& key, const std::string& value) {
  seen_[key] = value;
  if (update_) return;
  const auto found = expected_.find(key);
  if (found == expected_.end()) {
    ADD_FAILURE() << "no golden value for " << key << " in " << path_;
  } else {
    EXPECT_EQ(value, found->second) << key << " (KORVEL_UPDATE_GOLDEN=1 rewrites " << path_ << ")";
  }
}

}  // namespace test
