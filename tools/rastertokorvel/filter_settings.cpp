#include "filter_settings.h"

#include "tool_error.h"

namespace {

constexpr int kImageType = 34;
constexpr int kTwoDropsType = 40;
constexpr int kThreeDropsType = 41;
constexpr int kMatrixType = 42;

const std::map<std::string, Screen>& ScreensByName() {
  static const std::map<std::string, Screen> screens{
      {"ErrorDiffusion", Screen::kErrorDiffusion},
      {"TemplateDiffusion", Screen::kTemplateDiffusion},
      {"Drops", Screen::kDrops},
      {"SmallMediumDrops", Screen::kSmallMediumDrops},
      {"Matrix", Screen::kMatrix}};
  return screens;
}

}  // namespace

std::string ScreenName(Screen screen) {
  for (const auto& [name, value] : ScreensByName())
    if (value == screen) return name;
  return "?";
}

Screen ScreenNamed(const std::string& name) {
  const auto found = ScreensByName().find(name);
  if (found == ScreensByName().end())
    throw ToolError("unknown screen '" + name +
                    "' (ErrorDiffusion, TemplateDiffusion, Drops, SmallMediumDrops, Matrix)");
  return found->second;
}

int QualityOfChoice(const std::string& choice) {
  static const std::map<std::string, int> levels{
      {"Draft", 30}, {"Normal", 50}, {"High", 70}, {"Photo", 90}};
  const auto found = levels.find(choice);
  if (found == levels.end())
    throw ToolError("unknown print quality '" + choice + "' (Draft, Normal, High, Photo)");
  return found->second;
}

void RequireBitsForScreen(const FilterSettings& settings) {
  const bool drops =
      settings.screen == Screen::kDrops || settings.screen == Screen::kSmallMediumDrops;
  if (drops && settings.bits != 2)
    throw ToolError("the " + ScreenName(settings.screen) +
                    " screen needs 2 bits per colour (KorvelBits 2 or korvel-bits=2)");
}

int TemplateType(const FilterSettings& settings) {
  switch (settings.screen) {
    case Screen::kDrops:
      return kThreeDropsType;
    case Screen::kSmallMediumDrops:
      return kTwoDropsType;
    case Screen::kMatrix:
      return kMatrixType;
    default:
      return kImageType;
  }
}

bool UsesTemplateDiffusion(const FilterSettings& settings) {
  return settings.screen == Screen::kTemplateDiffusion;
}

InkSettings InkSettingsFor(const FilterSettings& settings, char ink) {
  InkSettings inkSettings;
  inkSettings.quality = settings.quality;
  const auto curve = settings.curves.find(ink);
  if (curve != settings.curves.end()) inkSettings.curve = curve->second;
  return inkSettings;
}
