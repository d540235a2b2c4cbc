// The fine screen with its trained knobs (kept apart from the screen so that the generator of
// the knobs builds without them).
#include "image/fine_screen.h"

const FineTones& FineTonesFor(const DropSet& drops) {
  return drops.levels == 2 ? kFineTonesOneBit : kFineTonesThreeDrops;
}

std::unique_ptr<OwnScreen> MakeFineScreen(int width, int /*height*/, const DropSet& drops) {
  return MakeFineScreenWith(width, drops, FineTonesFor(drops));
}
