#include "job_options.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "curve_folder.h"
#include "ppd_choices.h"
#include "tool_error.h"

namespace {

constexpr char kPrefix[] = "korvel-";
constexpr char kCurvePrefix[] = "korvel-curve-";
constexpr int kMostThreads = 64;

struct OptionList {
  int count = 0;
  cups_option_t* options = nullptr;
  ~OptionList() { cupsFreeOptions(count, options); }
};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

int WholeNumber(const std::string& name, const std::string& value, int lowest, int highest) {
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end || errno || number < lowest || number > highest)
    throw ToolError(name + "=" + value + ": expected a whole number from " +
                    std::to_string(lowest) + " to " + std::to_string(highest));
  return static_cast<int>(number);
}

int Bits(const std::string& name, const std::string& value) {
  return WholeNumber(name, value, 1, 2);
}

void ApplyPpdChoices(const std::string& ppdPath, const OptionList& list, FilterSettings& settings) {
  const auto chosen = MarkedPpdChoices(ppdPath, {kQualityKeyword, kScreenKeyword, kBitsKeyword},
                                       list.count, list.options);
  if (const auto found = chosen.find(kQualityKeyword); found != chosen.end())
    settings.quality = QualityOfChoice(found->second);
  if (const auto found = chosen.find(kScreenKeyword); found != chosen.end())
    settings.screen = ScreenNamed(found->second);
  if (const auto found = chosen.find(kBitsKeyword); found != chosen.end())
    settings.bits = Bits(kBitsKeyword, found->second);
}

void ApplyKorvelOption(const std::string& name, const std::string& value,
                       FilterSettings& settings) {
  if (name == "korvel-quality") {
    settings.quality = WholeNumber(name, value, -1, 100);
  } else if (name == "korvel-screen") {
    settings.screen = ScreenNamed(value);
  } else if (name == "korvel-bits") {
    settings.bits = Bits(name, value);
  } else if (name == "korvel-threads") {
    settings.threads = WholeNumber(name, value, 1, kMostThreads);
  } else if (StartsWith(name, kCurvePrefix)) {
    const std::string ink = name.substr(sizeof(kCurvePrefix) - 1);
    if (ink.size() != 1 || std::string("CMYK").find(ink) == std::string::npos)
      throw ToolError("unknown option " + name + " (the inks are C, M, Y and K)");
    settings.curves[ink[0]] = ReadJobCurve(value);
  } else {
    throw ToolError("unknown option " + name);
  }
}

}  // namespace

FilterSettings SettingsFromJob(const std::string& optionText, const std::string& ppdPath) {
  OptionList list;
  list.count = cupsParseOptions(optionText.c_str(), 0, &list.options);
  FilterSettings settings;
  if (!ppdPath.empty()) ApplyPpdChoices(ppdPath, list, settings);
  for (int i = 0; i < list.count; ++i) {
    const std::string name = list.options[i].name;
    if (StartsWith(name, kPrefix))
      ApplyKorvelOption(name, list.options[i].value ? list.options[i].value : "", settings);
  }
  RequireBitsForScreen(settings);
  return settings;
}
