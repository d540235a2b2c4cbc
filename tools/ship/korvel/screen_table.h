// Which screen the halftone command runs for an output depth, a template type and the
// template-diffusion flag, and which of the command's options that screen uses. The refusals
// of the halftone command and the screen list of its help are both read from this one table;
// what a screen reads (its tone curve, the file's ramp, its cells) the library tells.
#ifndef KORVEL_TOOL_SCREEN_TABLE_H
#define KORVEL_TOOL_SCREEN_TABLE_H

#include <korvel/korvel_context.h>

#include <cstdint>
#include <string>

// Template types as a set: bit t stands for type t (0..42).
using TypeSet = uint64_t;

// What a screen screens: a generated test pattern (at --size, or at the size of IN), the
// pixels of IN, or either (the threshold matrix screens IN, or with none a ramp at --size).
enum class ScreenSource { kPattern, kImage, kImageOrPattern };

struct ScreenRule {
  const char* name;        // what the screen does, e.g. "error diffusion of the image"
  unsigned depths;         // bit b set when the screen writes --bits b
  TypeSet types;           // 0 for the 4-bit image path, which takes no --type
  bool templateDiffusion;  // the screen that --template-diffusion chooses for these types
  ScreenSource source;
};

// What the library says the screen reads: whether --quality and --curve act on it, whether its
// pattern comes from the parameter file at every level, and its highest --dot-mode (-1: it
// screens pixel by pixel, no --dot-mode or --cell). Throws ToolError when the library gives
// two types or depths of the rule different facts: the table groups only what it screens alike.
korvel_screen_facts FactsOf(const ScreenRule& rule);

// The options of a halftone command line that depend on the screen.
struct ScreenRequest {
  int bits = 1;
  int type = 0;  // the given --type, or the depth's default
  bool typeGiven = false;
  bool templateDiffusion = false;
  bool qualityGiven = false;
  bool dotModeGiven = false;
  int dotMode = 0;
  bool cellGiven = false;
  bool sizeGiven = false;  // a pattern at --size instead of IN
  int inks = 1;            // inks of the page: 1 for grey, 4 for CMYK
  bool curveGiven = false;
  bool qualityBesideCurve = false;  // an ink given both --quality and --curve
  bool threadsGiven = false;
  std::string screen;  // the --screen name of one of korvel's own screens, empty for --type
  bool dropInksGiven = false;
};

// korvel's own screens, chosen by name with --screen instead of a template type.
struct OwnScreenName {
  const char* name;  // "fine" or "best"
  int screen;        // its korvel_screen
};
extern const OwnScreenName kOwnScreenNames[2];

// The default --type of a depth: the image by error diffusion at 1 bit, by small, medium and
// large drops at 2 bits.
int DefaultType(int bits);

// The screen the request runs. Throws UsageError, naming the screens that would use it, for
// an option the screen ignores, a type the depth has no screen for, or a --screen beside a
// --type or --template-diffusion that would choose another. --drop-inks belongs to the own
// screens at --bits 2. A CMYK page is screened
// ink by ink by screens of an image; --threads applies to CMYK pages only (a grey page is one
// ink, screened on one thread).
const ScreenRule& ChooseScreen(const ScreenRequest& request);

// "1|2  0-3,5-7  error diffusion of a test pattern  --quality --dot-mode 0..3 --cell" for every
// screen, one per line, for the help text.
std::string DescribeScreens();

// "0-3,5-7,10-33" (the types of a set, as ranges).
std::string FormatTypes(TypeSet types);

#endif
