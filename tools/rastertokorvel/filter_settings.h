// How the filter screens: the screen, the bits per colour of its output, the quality level and
// tone curve of every ink, and how many threads screen the inks of a page.
#ifndef KORVEL_FILTER_FILTER_SETTINGS_H
#define KORVEL_FILTER_FILTER_SETTINGS_H

#include <map>
#include <string>
#include <vector>

#include "ink_settings.h"

enum class Screen {
  kErrorDiffusion,     // error diffusion of the page
  kTemplateDiffusion,  // the template diffusion of the page
  kDrops,              // drop screen: small, medium and large drops (2 bits only)
  kSmallMediumDrops,   // drop screen with the small and medium drops only (2 bits only)
  kMatrix              // the 257x257 threshold matrix
};

struct FilterSettings {
  Screen screen = Screen::kErrorDiffusion;
  int bits = 1;
  int quality = 50;
  std::map<char, std::vector<int>> curves;  // by ink letter C, M, Y or K
  int threads =
      0;  // screening threads with the filter's own; 0: one per ink, at most the processors
  std::string parameterFolder;  // the folder of the QntPassParam_<level>.ini files
};

// The screen's name in options and messages ("ErrorDiffusion", ...).
std::string ScreenName(Screen screen);
// Throws ToolError for a name that is not a screen.
Screen ScreenNamed(const std::string& name);

// The quality level a print-quality choice of the PPD stands for (Draft 30, Normal 50, High 70,
// Photo 90); throws ToolError for any other choice.
int QualityOfChoice(const std::string& choice);

// Throws ToolError for a screen the output's bits cannot hold: the drop screens lay small and
// medium drops, which a 1-bit output would print as nothing (small) or as full dots (medium).
void RequireBitsForScreen(const FilterSettings& settings);

// The library's template type and options for the settings.
int TemplateType(const FilterSettings& settings);
bool UsesTemplateDiffusion(const FilterSettings& settings);

// What ink `ink` (a letter of CMYK) is screened with.
InkSettings InkSettingsFor(const FilterSettings& settings, char ink);

#endif
