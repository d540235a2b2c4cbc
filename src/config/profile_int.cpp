#include "config/profile_int.h"

#include <string>

#include "config/ini_section.h"

int GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                          const char* path) {
  if (section == nullptr || key == nullptr || path == nullptr) return defaultValue;
  std::string text;
  if (!LoadParameterText(path, text)) return defaultValue;
  const std::optional<IniValue> entry = IniSection(text, section).Find(key);
  return entry ? entry->value : defaultValue;
}
