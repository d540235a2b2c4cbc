// Fuzzes the INI integer reader. The same text must give the same answer whether it is scanned
// in one piece, in small pieces, read from a file by the profile query, or loaded from a file as
// a parameter file and indexed by section once, and the answer must agree with a plain
// line-by-line reading of the same rules.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "config/ini_scanner.h"
#include "config/ini_section.h"
#include "config/profile_int.h"
#include "fuzz_input.h"

namespace {

constexpr int kAbsent = -12345;

struct Query {
  const char* section;
  const char* key;
};

constexpr Query kQueries[] = {
    {"QNT_CURVE", "EffectiveParams"},
    {"QNT_CURVE", "Param1"},
    {"QNT_COMPENSATION", "Param6"},
    {"S", "K"},
    {"", ""},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

int ParseValue(std::string_view text) {
  text = Trim(text);
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), 1LL << 31);
  if (negative) return static_cast<int>(-magnitude);
  return static_cast<int>(std::min(magnitude, (1LL << 31) - 1));
}

// The same rules, applied to whole lines.
int ReadByLines(std::string_view text, const Query& query) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool inSection = false;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      if (inSection) return kAbsent;
      inSection = SameName(Trim(line.substr(1, close - 1)), query.section);
      continue;
    }
    const size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    if (SameName(Trim(line.substr(0, equals)), query.key))
      return ParseValue(line.substr(equals + 1));
  }
  return kAbsent;
}

int Scan(const uint8_t* data, size_t size, const Query& query, size_t piece) {
  IniIntScanner scanner(query.section, query.key);
  for (size_t at = 0; at < size && !scanner.done(); at += piece) {
    const size_t n = size - at < piece ? size - at : piece;
    scanner.Feed(reinterpret_cast<const char*>(data) + at, n);
  }
  scanner.Finish();
  return scanner.found() ? scanner.value() : kAbsent;
}

int ReadThroughFile(const uint8_t* data, size_t size, const Query& query) {
  return GetPrivateProfileIntA(query.section, query.key, kAbsent,
                               WrittenToScratchFile("korvel-ini-fuzz", data, size));
}

// The parameter-file way: the file loaded once and one section of it indexed.
int ReadAsParameterFile(const uint8_t* data, size_t size, const Query& query) {
  std::string text;
  if (!LoadParameterText(WrittenToScratchFile("korvel-ini-fuzz", data, size), text)) std::abort();
  if (text.size() != size || std::memcmp(text.data(), data, size) != 0) std::abort();
  const std::optional<IniValue> entry = IniSection(text, query.section).Find(query.key);
  return entry ? entry->value : kAbsent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the query, the size of the pieces and whether the text also goes
  // through a file (slow, so only for one input in eight); the rest is the text.
  const uint8_t selector = data[0];
  const Query& query = kQueries[selector % (sizeof kQueries / sizeof kQueries[0])];
  const size_t piece = 1 + selector / 8;
  ++data;
  --size;

  const int whole = Scan(data, size, query, size + 1);
  if (ReadByLines({reinterpret_cast<const char*>(data), size}, query) != whole) std::abort();
  if (Scan(data, size, query, piece) != whole) std::abort();
  if (selector % 8 == 0 && ReadThroughFile(data, size, query) != whole) std::abort();
  if (selector % 8 == 1 && size <= kMostParameterFileBytes &&
      ReadAsParameterFile(data, size, query) != whole)
    std::abort();
  const std::optional<IniValue> indexed =
      IniSection({reinterpret_cast<const char*>(data), size}, query.section).Find(query.key);
  if ((indexed ? indexed->value : kAbsent) != whole) std::abort();
  return 0;
}
