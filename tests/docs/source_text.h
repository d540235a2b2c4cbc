// The text of a file of the source tree, for the tests that keep the documents honest.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace docs {

// The whole of `path` (relative to the source root); empty when it cannot be read.
inline std::string SourceText(const std::string& path) {
  std::ifstream file(std::string(KORVEL_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace docs
