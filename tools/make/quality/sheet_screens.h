// The screens the comparison sheet sets side by side, each as a function from a grey image to
// its halftone in grey (255 paper, 0 a full dot; at 2 bits the drop codes 0..3 drawn as
// 255 - 85 x code, which is also their ink at the default drop inks). The library's screens
// run on a context at quality level 0, whose tone curve is the identity.
#ifndef KORVEL_TOOLS_QUALITY_SHEET_SCREENS_H
#define KORVEL_TOOLS_QUALITY_SHEET_SCREENS_H

#include <functional>
#include <string>
#include <vector>

#include "quality_metrics.h"

namespace quality {

struct SheetScreen {
  std::string label;
  std::function<GreyImage(const GreyImage&)> screen;
};

// Error diffusion (type 34), template diffusion, the 257 matrix (type 42), the textbook
// serpentine Floyd-Steinberg, fine and best, at 1 bit.
std::vector<SheetScreen> OneBitScreens();

// Floyd-Steinberg to four levels, the three drop sizes of type 41, fine and best, at 2 bits.
std::vector<SheetScreen> TwoBitScreens();

// The textbook serpentine Floyd-Steinberg to the four levels 0, 85, 170 and 255.
GreyImage FloydSteinbergFourLevels(const GreyImage& image);

}  // namespace quality

#endif
