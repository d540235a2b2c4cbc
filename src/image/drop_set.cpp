#include "image/own_screen.h"

DropSet DropSet::OneBit() {
  return DropSet{};
}

DropSet DropSet::ThreeDrops(int32_t small, int32_t medium) {
  DropSet drops;
  drops.levels = 4;
  drops.ink[1] = small;
  drops.ink[2] = medium;
  drops.ink[3] = kFullAmount;
  return drops;
}
