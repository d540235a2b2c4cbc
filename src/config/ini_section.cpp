#include "config/ini_section.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "config/ini_characters.h"
#include "config/regular_file.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
using ini::AsciiLower;
using ini::IsBlank;
using ini::IsDigit;
using ini::kSaturatedMagnitude;

std::string_view TrimmedStart(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  return text.substr(first);
}

std::string_view Trimmed(std::string_view text) {
  text = TrimmedStart(text);
  size_t length = text.size();
  while (length > 0 && IsBlank(text[length - 1])) --length;
  return text.substr(0, length);
}

std::string LowerCase(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

IniValue ParseValue(std::string_view text) {
  text = TrimmedStart(text);
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  const size_t firstDigit = i;
  uint64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    if (magnitude < kSaturatedMagnitude)
      magnitude =
          std::min(magnitude * 10 + static_cast<uint64_t>(text[i] - '0'), kSaturatedMagnitude);
  IniValue value;
  if (negative) {
    value.value = magnitude >= kSaturatedMagnitude ? INT32_MIN : -static_cast<int32_t>(magnitude);
  } else {
    value.value = magnitude >= kSaturatedMagnitude ? INT32_MAX : static_cast<int32_t>(magnitude);
  }
  value.plain =
      i > firstDigit && magnitude < kSaturatedMagnitude && Trimmed(text.substr(i)).empty();
  return value;
}

// Reads up to one byte past the limit, so that a file grown since fstat is still refused.
bool ReadBounded(int fd, std::string& text) {
  text.resize(kMostParameterFileBytes + 1);
  size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t got = read(fd, &text[filled], text.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  text.resize(filled);
  return filled <= kMostParameterFileBytes;
}

}  // namespace

bool LoadParameterText(const char* path, std::string& text) {
  text.clear();
  off_t size = 0;
  const FileDescriptor file(OpenRegularFile(path, &size));
  const bool usable = file.get() >= 0 && static_cast<uint64_t>(size) <= kMostParameterFileBytes &&
                      ReadBounded(file.get(), text);
  if (!usable) text.clear();
  return usable;
}

IniSection::IniSection(std::string_view text, std::string_view section) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());
  bool inSection = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = TrimmedStart(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) continue;  // not a section header
      if (inSection) return;                          // the wanted section ends at any header
      inSection = SameName(Trimmed(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection || line[0] == ';' || line[0] == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    // emplace keeps the first entry of a key.
    entries_.emplace(LowerCase(Trimmed(line.substr(0, equals))),
                     ParseValue(line.substr(equals + 1)));
  }
}

std::optional<IniValue> IniSection::Find(std::string_view key) const {
  const auto found = entries_.find(LowerCase(key));
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

int32_t IniSection::Value(std::string_view key) const {
  const std::optional<IniValue> entry = Find(key);
  return entry ? entry->value : 0;
}
