// The fine screen's knobs worked out for every ink amount once, when a screen is made, so
// that the pixel loop only looks them up.
#ifndef KORVEL_IMAGE_FINE_PIXEL_RULES_H
#define KORVEL_IMAGE_FINE_PIXEL_RULES_H

#include <cstdint>
#include <vector>

#include "image/fine_screen_tones.h"
#include "image/own_screen.h"

// Errors are kept in 1/16 of an amount; shares of an error in 1/4096.
constexpr int kFineErrorScale = 16;
constexpr int kFineShareBits = 12;
constexpr int kFineGainBits = 6;

struct FinePixelRule {
  int32_t errorGain;  // 1/64
  int32_t keep;       // -1 passes the error on; 0 drops it (paper white and full ink)
  int32_t ahead, belowBehind, below;  // 1/4096; below-ahead takes what they leave
  // The warm-up over the first row starts each pixel with an error spread evenly over
  // +-startSpread / 2 (errors' units), so that, swayed by the gain, each decides nearly as if
  // the screen had run for long: half the gap between the inks around the amount, over the
  // gain. 0 at paper and full ink.
  int32_t startSpread;
  // The span of the offset that shakes the decision (errors' units): the swayed amount gets
  // a pseudo-random offset in [-shakeSpan / 2, shakeSpan / 2). 0 at paper and full ink.
  int32_t shakeSpan;
};

// One rule per amount 0..kFullAmount.
std::vector<FinePixelRule> FinePixelRules(const DropSet& drops, const FineTones& tones);

#endif
