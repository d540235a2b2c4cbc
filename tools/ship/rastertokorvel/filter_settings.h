// How the filter screens: the screen, the bits per colour of its output, the quality level and
// tone curve of every ink, and how many threads screen the inks of a page.
#ifndef KORVEL_FILTER_FILTER_SETTINGS_H
#define KORVEL_FILTER_FILTER_SETTINGS_H

#include <map>
#include <string>
#include <vector>

#include "ink_settings.h"

// A screen the filter offers: one row of the table in filter_settings.cpp, which is all the
// filter knows of it. ppd_generator writes the PPD's screens, print qualities and constraints
// from these tables: adding a screen is adding its row and regenerating the PPD.
struct Screen {
  const char* name;        // the KorvelScreen choice and korvel-screen value
  const char* label;       // what the PPD shows
  int templateType;        // the library's template type (0 for korvel's own screens)
  int ownScreen;           // 0, or korvel's own screen KORVEL_SCREEN_FINE or KORVEL_SCREEN_BEST
  bool templateDiffusion;  // the library's template diffusion on
  int bits;  // the only bits per colour it writes: 1 (dot or none) or 2 (drops); 0 for either
  bool dotsOnBlankPaper;  // lays dots where the page is blank
  bool byPrintQuality;    // stands for the screen the print quality chooses (ScreenFor)
};

// Whether quality levels and tone curves change the screen's output, as the library says.
bool ReadsToneCurves(const Screen& screen);

// What a row of the screens table says of korvel's own screens, which have no template type.
constexpr int kNoOwnScreen = 0;

// Every screen, the default first.
const std::vector<Screen>& Screens();

// A print quality the PPD offers: its choice, the library's quality level it stands for and
// the IPP print-quality value that asks for it (0: none, the choice is the PPD's alone).
struct PrintQuality {
  const char* choice;
  int level;
  int ippValue;
};

// Every print quality, in the PPD's order; the default is the one named Normal.
const std::vector<PrintQuality>& PrintQualities();
constexpr int kNormalLevel = 50;

// The screen a job is screened with: `chosen` itself, or for the row that stands for the print
// quality's choice, the screen of the quality level and bits: Photo (level 90 and above) Best,
// High (70 and above) Fine, the rest Error Diffusion; at 2 bits BestDrops above 90, else
// FineDrops.
const Screen& ScreenFor(const Screen& chosen, int quality, int bits);

struct FilterSettings {
  Screen screen = ScreenFor(Screens().front(), kNormalLevel, 1);
  int bits = 1;
  int quality = kNormalLevel;
  std::map<char, std::vector<int>> curves;  // by ink letter C, M, Y or K
  int threads =
      0;  // screening threads with the filter's own; 0: one per ink, at most the processors
  std::string parameterFolder;  // the folder of the QntPassParam_<level>.ini files
};

// The screen's name in options and messages ("ErrorDiffusion", ...).
std::string ScreenName(const Screen& screen);
// Throws ToolError for a name that is not a screen.
const Screen& ScreenNamed(const std::string& name);

// The quality level of a print-quality choice of the PPD; throws ToolError for any other choice.
int QualityOfChoice(const std::string& choice);
// The PPD choice an IPP print-quality value asks for; throws ToolError for any other value.
std::string ChoiceOfIppQuality(const std::string& value);

// Throws ToolError for settings the screen would not honour: bits other than its own (a drop
// screen at 1 bit prints its small drops as nothing; the other screens at 2 bits write only
// empty and full dots, twice the data for nothing), and a quality level other than Normal's or
// a tone curve for a screen they do not change.
void RequireScreenHonoursSettings(const FilterSettings& settings);

// The library's template type and options for the settings.
int TemplateType(const FilterSettings& settings);
bool UsesTemplateDiffusion(const FilterSettings& settings);

// What ink `ink` (a letter of CMYK) is screened with.
InkSettings InkSettingsFor(const FilterSettings& settings, char ink);

#endif
