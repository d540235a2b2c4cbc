// Golden outputs kept in a data file, tests/golden/<name>.txt, one "key value" line each.
// Run the tests with KORVEL_UPDATE_GOLDEN=1 to rewrite the file from what the library gives
// now (after an intended change of output only), then review the difference before committing.
#ifndef KORVEL_TESTS_SUPPORT_GOLDEN_H
#define KORVEL_TESTS_SUPPORT_GOLDEN_H

#include <map>
#include <string>

namespace test {

class GoldenFile {
 public:
  explicit GoldenFile(const std::string& name);
  ~GoldenFile();  // writes the file in update mode
  // Expects `value` under `key`; in update mode records it instead.
  void Check(const std::string& key, const std::string& value);

 private:
  std::string path_;
  bool update_;
  std::map<std::string, std::string> expected_;
  std::map<std::string, std::string> seen_;
};

}  // namespace test

#endif
