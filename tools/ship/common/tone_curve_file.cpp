#include "tone_curve_file.h"

#include <cctype>
#include <sstream>

#include "small_file.h"
#include "tool_error.h"

namespace {

// The file's text with comments removed and commas turned into spaces.
std::string CurveText(const std::string& file) {
  std::istringstream lines(file);
  std::string text, line;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    for (char& c : line)
      if (c == ',') c = ' ';
    text += line + "\n";
  }
  return text;
}

int Point(const std::string& word, const std::string& path) {
  size_t used = 0;
  int value = -1;
  try {
    value = std::stoi(word, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != word.size() || !std::isdigit(static_cast<unsigned char>(word[0])))
    throw ToolError(path + ": '" + EscapedFragment(word) + "' is not a whole percentage");
  if (value < 0 || value > 100)
    throw ToolError(path + ": point " + EscapedFragment(word) + " is outside 0..100 %");
  return value;
}

}  // namespace

std::vector<int> ReadToneCurveFile(const std::string& path) {
  std::istringstream words(CurveText(ReadSmallFile(path)));
  std::vector<int> points;
  std::string word;
  while (words >> word) {
    if (points.size() == static_cast<size_t>(kMostCurvePoints))
      throw ToolError(path + ": more than " + std::to_string(kMostCurvePoints) + " points");
    points.push_back(Point(word, path));
  }
  if (points.size() < static_cast<size_t>(kFewestCurvePoints))
    throw ToolError(path + ": a tone curve needs at least " + std::to_string(kFewestCurvePoints) +
                    " points, found " + std::to_string(points.size()));
  return points;
}
