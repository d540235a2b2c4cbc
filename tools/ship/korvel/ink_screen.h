// Screening the inks of a page: every ink on a screening context of its own, several inks at
// once on threads of the tool (the library starts none).
#ifndef KORVEL_TOOL_INK_SCREEN_H
#define KORVEL_TOOL_INK_SCREEN_H

#include <korvel/korvel_context.h>

#include <vector>

#include "arguments.h"
#include "ink_settings.h"
#include "raster.h"

// The screen every ink of the page goes through.
struct ScreenSettings {
  int bits = 1;
  int type = 0;
  Size cell{1, 1};
  int dotMode = 0;
  bool templateDiffusion = false;
  int ownScreen = 0;           // a korvel_screen (--screen) instead of the template type, or 0
  bool dropInksGiven = false;  // --drop-inks given; otherwise the library's default drops
  double smallDropInk = 0;     // the own screens' drops at 2 bits (--drop-inks)
  double mediumDropInk = 0;
};

// The library's options of the own screen the settings choose.
korvel_screen_options OwnScreenOptions(const ScreenSettings& screen);

// Whether the library screens with those options (asked of the library on a page of one pixel).
bool OwnScreenAccepts(const ScreenSettings& screen);

// The screened raster of every ink (an ink without pixels is a test pattern at its size),
// screening at most `threads` inks at the same time. Throws ToolError when the library refuses.
std::vector<DotRaster> ScreenInks(const std::vector<GreyImage>& inks,
                                  const std::vector<InkSettings>& settings,
                                  const ScreenSettings& screen, int threads);

#endif
