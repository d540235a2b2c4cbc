// The fine screen with the knobs given rather than the trained ones: for the generator that
// trains them and for the tests.
#ifndef KORVEL_IMAGE_FINE_SCREEN_H
#define KORVEL_IMAGE_FINE_SCREEN_H

#include <memory>

#include "image/fine_screen_tones.h"
#include "image/own_screen.h"

// The trained knobs for the drops: one bit's or three drops'.
const FineTones& FineTonesFor(const DropSet& drops);

std::unique_ptr<OwnScreen> MakeFineScreenWith(int width, const DropSet& drops,
                                              const FineTones& tones);

#endif
