#include "curve_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "parameter_folder.h"
#include "small_file.h"
#include "tone_curve_file.h"
#include "tool_error.h"

namespace {

constexpr size_t kLongestName = 64;

bool IsPlainName(const std::string& name) {
  const auto allowed = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
  };
  return !name.empty() && name.size() <= kLongestName && name[0] != '.' &&
         std::all_of(name.begin(), name.end(), allowed);
}

}  // namespace

std::string FilterCurveFolder() {
  const char* chosen = std::getenv("KORVEL_CURVE_DIR");
  if (chosen && *chosen) return chosen;
  return FilterParameterFolder() + "/../curves";
}

std::vector<int> ReadJobCurve(const std::string& name) {
  if (!IsPlainName(name))
    throw ToolError(
        "a tone curve is named by a file name of the curve folder (letters, digits, "
        "'.', '_', '-'), not '" +
        EscapedFragment(name) + "'");
  return ReadToneCurveFile(FilterCurveFolder() + "/" + name);
}
