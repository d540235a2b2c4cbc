// What one ink of a page has of its own when it is screened.
#ifndef KORVEL_TOOL_INK_SETTINGS_H
#define KORVEL_TOOL_INK_SETTINGS_H

#include <vector>

// What an ink has of its own: its quality level and, when given, a tone curve that replaces
// the curve of the level's parameter file (percent points, see tone_curve_file.h).
struct InkSettings {
  int quality = 0;
  std::vector<int> curve;
};

#endif
