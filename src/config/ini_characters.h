// The characters of an INI text as both INI readers take them: blanks, digits, names compared
// without regard to ASCII case, values saturating at the 32-bit range.
#ifndef KORVEL_CONFIG_INI_CHARACTERS_H
#define KORVEL_CONFIG_INI_CHARACTERS_H

#include <cstdint>

namespace ini {

constexpr uint64_t kSaturatedMagnitude = uint64_t{1} << 31;  // |INT32_MIN|

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}
inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace ini

#endif
