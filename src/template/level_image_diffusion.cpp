#include "template/level_image_diffusion.h"

LevelTable::LevelTable(const ScreeningState& state, bool invertGrey) : flip_(invertGrey ? 255 : 0) {
  for (int i = 0; i < kLevelCount; ++i) {
    amount_[i] = state.levelAmount[i];
    leavesFullScale_ |= amount_[i] < 0 || amount_[i] > kFullAmount;
  }
}
