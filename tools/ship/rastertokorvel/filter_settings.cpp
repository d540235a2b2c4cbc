#include "filter_settings.h"

#include <korvel/korvel_context.h>

#include "tool_error.h"

namespace {

template <typename Entry>
std::string Names(const std::vector<Entry>& entries, const char* Entry::*name) {
  std::string names;
  for (const Entry& entry : entries)
    names += (names.empty() ? "" : ", ") + std::string(entry.*name);
  return names;
}

std::string BitsText(int bits) {
  return std::to_string(bits) + (bits == 1 ? " bit" : " bits");
}

}  // namespace

const std::vector<Screen>& Screens() {
  static const std::vector<Screen> screens{
      // name, label, template type, own screen, template diffusion, bits, dots on blank paper,
      // chosen by the print quality
      {"ByPrintQuality", "By Print Quality (Error Diffusion, Fine at High, Best at Photo)", 0,
       kNoOwnScreen, false, 0, false, true},
      {"ErrorDiffusion", "Error Diffusion", KORVEL_TYPE_IMAGE, kNoOwnScreen, false, 1, false,
       false},
      {"TemplateDiffusion", "Template Diffusion, Faint Dots on Blank Paper", KORVEL_TYPE_IMAGE,
       kNoOwnScreen, true, 1, true, false},
      {"Drops", "Drop Screen, Small, Medium and Large Drops", KORVEL_TYPE_THREE_DROPS, kNoOwnScreen,
       false, 2, false, false},
      {"SmallMediumDrops", "Drop Screen, Small and Medium Drops", KORVEL_TYPE_SMALL_MEDIUM_DROPS,
       kNoOwnScreen, false, 2, false, false},
      {"Matrix", "Threshold Matrix", KORVEL_TYPE_MATRIX, kNoOwnScreen, false, 1, false, false},
      {"Fine", "Fine Error Diffusion, Finer than the Textbook", 0, KORVEL_SCREEN_FINE, false, 1,
       false, false},
      {"FineDrops", "Fine, Small, Medium and Large Drops", 0, KORVEL_SCREEN_FINE, false, 2, false,
       false},
      {"Best", "Best, Searched Dot Placement for Photos, Slow", 0, KORVEL_SCREEN_BEST, false, 1,
       false, false},
      {"BestDrops", "Best, Small, Medium and Large Drops, Slow", 0, KORVEL_SCREEN_BEST, false, 2,
       false, false}};
  return screens;
}

const std::vector<PrintQuality>& PrintQualities() {
  static const std::vector<PrintQuality> qualities{
      {"Draft", 30, 3}, {"Normal", kNormalLevel, 4}, {"High", 70, 5}, {"Photo", 90, 0}};
  return qualities;
}

const Screen& ScreenFor(const Screen& chosen, int quality, int bits) {
  constexpr int kPhotoLevel = 90, kHighLevel = 70;
  if (!chosen.byPrintQuality) return chosen;
  if (bits == 2) return ScreenNamed(quality >= kPhotoLevel ? "BestDrops" : "FineDrops");
  return ScreenNamed(quality >= kPhotoLevel  ? "Best"
                     : quality >= kHighLevel ? "Fine"
                                             : "ErrorDiffusion");
}

bool ReadsToneCurves(const Screen& screen) {
  // Every screen the print quality may choose follows the tone curve.
  if (screen.byPrintQuality) return true;
  korvel_screen_facts facts{};
  facts.size = sizeof facts;
  korvel_status status = KORVEL_OK;
  if (screen.ownScreen != kNoOwnScreen) {
    korvel_screen_options options;
    korvel_screen_options_init(&options, static_cast<korvel_screen>(screen.ownScreen), screen.bits);
    status = korvel_screen_options_describe(&options, &facts);
  } else {
    const korvel_image_options options{screen.templateType, 1, 1, 0, screen.templateDiffusion};
    status = korvel_image_options_describe(&options, screen.bits, &facts);
  }
  if (status != KORVEL_OK)
    throw ToolError("the library cannot describe the " + ScreenName(screen) +
                    " screen: " + korvel_strerror(status));
  return facts.reads_tone_curve != 0;
}

std::string ScreenName(const Screen& screen) {
  return screen.name;
}

const Screen& ScreenNamed(const std::string& name) {
  for (const Screen& screen : Screens())
    if (name == screen.name) return screen;
  throw ToolError("unknown screen '" + name + "' (" + Names(Screens(), &Screen::name) + ")");
}

int QualityOfChoice(const std::string& choice) {
  for (const PrintQuality& quality : PrintQualities())
    if (choice == quality.choice) return quality.level;
  throw ToolError("unknown print quality '" + choice + "' (" +
                  Names(PrintQualities(), &PrintQuality::choice) + ")");
}

std::string ChoiceOfIppQuality(const std::string& value) {
  for (const PrintQuality& quality : PrintQualities())
    if (quality.ippValue != 0 && value == std::to_string(quality.ippValue)) return quality.choice;
  throw ToolError("print-quality=" + value + ": expected 3 (draft), 4 (normal) or 5 (high)");
}

void RequireScreenHonoursSettings(const FilterSettings& settings) {
  const Screen& screen = settings.screen;
  if (settings.bits != screen.bits)
    throw ToolError("the " + ScreenName(screen) + " screen writes " + BitsText(screen.bits) +
                    " per colour, not " + BitsText(settings.bits) + " (KorvelBits " +
                    std::to_string(screen.bits) + " or korvel-bits=" + std::to_string(screen.bits) +
                    ")");
  if (ReadsToneCurves(screen)) return;
  if (settings.quality != kNormalLevel)
    throw ToolError("the " + ScreenName(screen) +
                    " screen prints the same at every print quality: choose Normal "
                    "(cupsPrintQuality=Normal) and leave korvel-quality unset");
  if (!settings.curves.empty())
    throw ToolError("the " + ScreenName(screen) + " screen takes no tone curve (korvel-curve-" +
                    std::string(1, settings.curves.begin()->first) + ")");
}

int TemplateType(const FilterSettings& settings) {
  return settings.screen.templateType;
}

bool UsesTemplateDiffusion(const FilterSettings& settings) {
  return settings.screen.templateDiffusion;
}

InkSettings InkSettingsFor(const FilterSettings& settings, char ink) {
  InkSettings inkSettings;
  inkSettings.quality = settings.quality;
  const auto curve = settings.curves.find(ink);
  if (curve != settings.curves.end()) inkSettings.curve = curve->second;
  return inkSettings;
}
