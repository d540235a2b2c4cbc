#include "job_options.h"

#include <korvel/korvel_context.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "curve_folder.h"
#include "ppd_choices.h"
#include "tool_error.h"

namespace {

constexpr char kPrefix[] = "korvel-";
constexpr char kCurvePrefix[] = "korvel-curve-";
constexpr int kMostThreads = 64;
constexpr size_t kMostDigits = 6;

using Options = std::map<std::string, std::string>;  // by lower-case name

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c));
}

// The value that starts at `at`, up to a space outside quotes and braces; `at` ends past it.
std::string ValueAt(const std::string& text, size_t& at) {
  std::string value;
  char quote = 0;
  int braces = 0;
  for (; at < text.size() && (quote || braces || !IsSpace(text[at])); ++at) {
    const char c = text[at];
    if (c == '\\' && at + 1 < text.size()) {
      value += text[++at];
    } else if (quote) {
      if (c == quote)
        quote = 0;
      else
        value += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else {
      braces += c == '{' ? 1 : c == '}' && braces > 0 ? -1 : 0;
      value += c;
    }
  }
  return value;
}

// The job's options, read from the text as cupsParseOptions reads it (name=value pairs apart by
// spaces; quotes, a backslash and braces keep spaces in a value) but every option kept as the
// job gave it: libcups merges print-quality into cupsPrintQuality, and the two must stay apart.
// Of two options that differ only in case, the later wins.
Options JobOptions(const std::string& text) {
  Options options;
  for (size_t at = 0; at < text.size();) {
    if (IsSpace(text[at])) {
      ++at;
      continue;
    }
    std::string name;
    while (at < text.size() && !IsSpace(text[at]) && text[at] != '=') name += text[at++];
    if (at < text.size() && text[at] == '=') ++at;
    options[Lowercase(name)] = ValueAt(text, at);
  }
  return options;
}

// Digits with an optional leading minus: no sign, space or other text around them.
int WholeNumber(const std::string& name, const std::string& value, int lowest, int highest) {
  const size_t digitsFrom = !value.empty() && value[0] == '-' ? 1 : 0;
  const bool digits = value.size() > digitsFrom && value.size() - digitsFrom <= kMostDigits &&
                      std::all_of(value.begin() + digitsFrom, value.end(),
                                  [](unsigned char c) { return std::isdigit(c); });
  const int number = digits ? std::stoi(value) : 0;
  if (!digits || number < lowest || number > highest)
    throw ToolError(name + "=" + value + ": expected a whole number from " +
                    std::to_string(lowest) + " to " + std::to_string(highest));
  return number;
}

int Bits(const std::string& name, const std::string& value) {
  return WholeNumber(name, value, 1, 2);
}

std::optional<std::string> Find(const Options& options, const std::string& keyword) {
  const auto found = options.find(Lowercase(keyword));
  if (found == options.end()) return std::nullopt;
  return found->second;
}

// The job's choice of a PPD option, else the queue's default.
std::optional<std::string> PpdChoice(const Options& job, const Options& defaults,
                                     const std::string& keyword) {
  if (auto chosen = Find(job, keyword)) return chosen;
  return Find(defaults, keyword);
}

std::optional<std::string> QualityChoice(const Options& job, const Options& defaults) {
  if (auto chosen = Find(job, kQualityKeyword)) return chosen;
  if (auto ipp = Find(job, kIppQuality)) return ChoiceOfIppQuality(*ipp);
  return Find(defaults, kQualityKeyword);
}

Options QueueDefaults(const std::string& ppdPath) {
  Options defaults;
  if (ppdPath.empty()) return defaults;
  for (const auto& [keyword, choice] :
       PpdDefaultChoices(ppdPath, {kQualityKeyword, kScreenKeyword, kBitsKeyword}))
    defaults[Lowercase(keyword)] = choice;
  return defaults;
}

void ApplyPpdChoices(const Options& job, const Options& defaults, FilterSettings& settings) {
  if (const auto choice = QualityChoice(job, defaults)) settings.quality = QualityOfChoice(*choice);
  if (const auto choice = PpdChoice(job, defaults, kScreenKeyword))
    settings.screen = ScreenNamed(*choice);
  if (const auto choice = PpdChoice(job, defaults, kBitsKeyword))
    settings.bits = Bits(kBitsKeyword, *choice);
}

void ApplyKorvelOption(const std::string& name, const std::string& value,
                       FilterSettings& settings) {
  if (name == "korvel-quality") {
    settings.quality = WholeNumber(name, value, KORVEL_QUALITY_MIN, KORVEL_QUALITY_MAX);
  } else if (name == "korvel-screen") {
    settings.screen = ScreenNamed(value);
  } else if (name == "korvel-bits") {
    settings.bits = Bits(name, value);
  } else if (name == "korvel-threads") {
    settings.threads = WholeNumber(name, value, 1, kMostThreads);
  } else if (StartsWith(name, kCurvePrefix)) {
    const std::string ink = name.substr(sizeof(kCurvePrefix) - 1);
    const size_t letter = ink.size() == 1 ? std::string("cmyk").find(ink) : std::string::npos;
    if (letter == std::string::npos)
      throw ToolError("unknown option " + name + " (the inks are C, M, Y and K)");
    settings.curves["CMYK"[letter]] = ReadJobCurve(value);
  } else {
    throw ToolError("unknown option " + name);
  }
}

}  // namespace

FilterSettings SettingsFromJob(const std::string& optionText, const std::string& ppdPath) {
  const Options job = JobOptions(optionText);
  FilterSettings settings;
  settings.screen = Screens().front();  // the PPD's default, resolved once the quality is known
  ApplyPpdChoices(job, QueueDefaults(ppdPath), settings);
  for (const auto& [name, value] : job)
    if (StartsWith(name, kPrefix)) ApplyKorvelOption(name, value, settings);
  settings.screen = ScreenFor(settings.screen, settings.quality, settings.bits);
  RequireScreenHonoursSettings(settings);
  return settings;
}
