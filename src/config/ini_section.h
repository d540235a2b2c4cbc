// A parameter file read once: the whole text of a small regular file, and the entries of one of
// its sections gathered in one pass, with the reading rules of config/ini_scanner.h (the first
// section of the name, the first entry of a key, names compared without regard to ASCII case,
// values an optional sign and decimal digits that saturate at the 32-bit range).
#ifndef KORVEL_CONFIG_INI_SECTION_H
#define KORVEL_CONFIG_INI_SECTION_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The largest parameter file read; a larger one reads as missing.
constexpr size_t kMostParameterFileBytes = 1024 * 1024;

// The text of the file at `path` into `text`. False, with `text` empty, when the file is
// missing, is not a regular file (a folder, a FIFO, a device), holds more than
// kMostParameterFileBytes bytes or cannot be read. A FIFO is never waited on.
bool LoadParameterText(const char* path, std::string& text);

struct IniValue {
  int32_t value = 0;
  // True when the value is a whole number and nothing else: an optional sign, at least one
  // digit, blanks after it at most, and within the 32-bit range.
  bool plain = false;
};

class IniSection {
 public:
  // The entries of the first section named `section` in `text`.
  IniSection(std::string_view text, std::string_view section);

  // The entry of `key`, or none when the section or the key is missing.
  std::optional<IniValue> Find(std::string_view key) const;
  // Its value, 0 when missing (as the profile query reads it).
  int32_t Value(std::string_view key) const;

 private:
  std::unordered_map<std::string, IniValue> entries_;  // by key name in lower case
};

#endif
