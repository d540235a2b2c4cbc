// korvel's own screens of the caller's image, beside the template types: "fine", an error
// diffusion that is better than the textbook one at nearly its speed, and "best", a search that
// minimises the eye-filtered error of the halftone directly, started from fine.
//
// Both work on rows of ink amounts (0 paper .. kFullAmount a large drop at every pixel, after
// the tone curve) and lay up to three drop sizes whose inks, relative to the large drop, are a
// setting of the screen. A screen takes the page's rows top to bottom one at a time and gives
// its rows back in the same order, possibly some rows later (Delay()); what it gives depends
// only on the rows it took, never on how a host groups them, so a page streamed in bands of any
// height equals the page screened whole. Memory is bounded by the width and the delay, never
// by the page's height.
#ifndef KORVEL_IMAGE_OWN_SCREEN_H
#define KORVEL_IMAGE_OWN_SCREEN_H

#include <cstdint>
#include <memory>

#include "core/screening_state.h"

// The drops a screen may lay: at 1 bit one drop (levels 0 none, 1 dot); at 2 bits three
// (levels 0 none, 1 small, 2 medium, 3 large). ink[level] is the ink amount that level lays
// at a pixel: ink[0] = 0, the largest kFullAmount, strictly increasing in between.
struct DropSet {
  int levels = 2;  // 2 (1 bit) or 4 (2 bits)
  int32_t ink[4] = {0, kFullAmount, 0, 0};

  // One drop: ink 0 or kFullAmount.
  static DropSet OneBit();
  // Small, medium and large drops laying `small` and `medium` amounts (0 < small < medium <
  // kFullAmount); the defaults are 1/3 and 2/3 of the large drop.
  static DropSet ThreeDrops(int32_t small = kFullAmount / 3, int32_t medium = 2 * kFullAmount / 3);
};

class OwnScreen {
 public:
  virtual ~OwnScreen() = default;

  // How many rows the output lags the input: row r is given back once row r + Delay() has
  // been taken, or once the page's last row has been taken.
  virtual int Delay() const = 0;

  // Take the page's next row: width amounts 0..kFullAmount. At most height rows.
  virtual void TakeRow(const uint16_t* amounts) = 0;

  // Give back the next finished row as drop levels (0..levels - 1, one byte a pixel); false
  // when no row is finished yet.
  virtual bool GiveRow(uint8_t* levels) = 0;
};

// The fine screen of a width x height page (both at least 1).
std::unique_ptr<OwnScreen> MakeFineScreen(int width, int height, const DropSet& drops);
// The best screen of a width x height page (both at least 1).
std::unique_ptr<OwnScreen> MakeBestScreen(int width, int height, const DropSet& drops);

#endif
