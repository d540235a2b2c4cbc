// Parameter files for the tests of the library, the tool and the filter: the text of a curve,
// and the files that must be reported as unusable (never read as a blank or wrong curve).
#ifndef KORVEL_TESTS_PROCESS_PARAMETER_FILES_H
#define KORVEL_TESTS_PROCESS_PARAMETER_FILES_H

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace test {

// A [QNT_CURVE] section with EffectiveParams=count and Param1.. the values.
inline std::string CurveText(const std::vector<std::string>& values, const std::string& count) {
  std::string text = "[QNT_CURVE]\nEffectiveParams=" + count + "\n";
  for (size_t k = 0; k < values.size(); ++k)
    text += "Param" + std::to_string(k + 1) + "=" + values[k] + "\n";
  return text;
}

// The same of whole-number values.
inline std::string CurveTextOf(const std::vector<int>& values, const std::string& count) {
  std::vector<std::string> words;
  for (int value : values) words.push_back(std::to_string(value));
  return CurveText(words, count);
}

// points values from 0 to 100 in even steps.
inline std::vector<std::string> Ramp(int points) {
  std::vector<std::string> values;
  for (int k = 0; k < points; ++k) values.push_back(std::to_string(k * 100 / (points - 1)));
  return values;
}

// What is wrong with each, and its text.
inline std::vector<std::pair<std::string, std::string>> UnusableParameterFiles() {
  const std::vector<std::string> values = Ramp(11);
  const std::vector<std::string> missingOne(values.begin(), values.end() - 1);
  return {
      {"empty", ""},
      {"binary garbage", std::string("\x7f\x45\x4c\x46\x02\x01\x00\xff[\x01]=\n", 13)},
      {"2 points", CurveText(Ramp(2), "2")},
      {"2551 points, none given", CurveText({}, "2551")},
      {"2552 points", CurveText(Ramp(2552), "2552")},
      {"negative count", CurveText(values, "-11")},
      {"no count", CurveText(values, "").replace(12, 17, "")},
      {"a point missing", CurveText(missingOne, "11")},
      {"NaN", CurveText({"0", "NaN", "100"}, "3")},
      {"huge value", CurveText({"0", "99999999999", "100"}, "3")},
      {"value past a double", CurveText({"0", "1e999", "100"}, "3")},
      {"count with junk", CurveText(values, "11x")},
      {"curve in another section", "[OTHER]\n" + CurveText(values, "11").substr(12)},
  };
}

// Puts every unusable file at `path` in turn, then a link to each of `specials` (files that are
// no small regular file), and calls `check` with what is wrong with it.
inline void ForEachUnusableParameterFile(const std::string& path,
                                         const std::vector<std::string>& specials,
                                         const std::function<void(const std::string&)>& check) {
  for (const auto& [what, text] : UnusableParameterFiles()) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    check(what);
  }
  for (const std::string& special : specials) {
    std::remove(path.c_str());
    if (symlink(special.c_str(), path.c_str()) != 0) std::perror(path.c_str());
    check("a link to " + special.substr(special.rfind('/') + 1));
  }
}

}  // namespace test

#endif
