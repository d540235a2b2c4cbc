#include "ink_values.h"

#include "tool_error.h"

namespace {

std::vector<std::string> Entries(const std::string& text) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    entries.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return entries;
    start = comma + 1;
  }
}

// The ink an "INK=value" entry names, or -1 for a plain value.
int NamedInk(const std::string& entry, const std::string& option, int inks) {
  const size_t equals = entry.find('=');
  if (equals == std::string::npos) return -1;
  const std::string name = entry.substr(0, equals);
  if (inks == 1)
    throw UsageError(option + " " + entry + " names an ink: per-ink values need CMYK input");
  const size_t ink = std::string(kCmykInkNames).find(name);
  if (name.size() != 1 || ink == std::string::npos)
    throw UsageError(option + ": unknown ink '" + name + "' (the inks are C, M, Y and K)");
  return static_cast<int>(ink);
}

}  // namespace

std::vector<std::string> SplitPerInk(const std::string& text, const std::string& option, int inks) {
  std::vector<std::string> values(inks);
  std::vector<bool> named(inks, false);
  std::string plain;
  bool plainGiven = false;
  for (const std::string& entry : Entries(text)) {
    const int ink = NamedInk(entry, option, inks);
    const std::string value = ink < 0 ? entry : entry.substr(entry.find('=') + 1);
    if (value.empty()) throw UsageError(option + ": '" + entry + "' has no value");
    if (ink < 0) {
      if (plainGiven) throw UsageError(option + " has two values for every ink: " + text);
      plainGiven = true;
      plain = value;
    } else {
      if (named[ink]) throw UsageError(option + " names ink " + kCmykInkNames[ink] + " twice");
      named[ink] = true;
      values[ink] = value;
    }
  }
  for (int ink = 0; ink < inks; ++ink)
    if (!named[ink]) values[ink] = plain;
  return values;
}

std::string InkName(int ink, int inks) {
  return inks == 1 ? "" : std::string(1, kCmykInkNames[ink]);
}
