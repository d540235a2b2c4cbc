#include "template/level_image_diffusion.h"

LevelImageDiffusion::LevelImageDiffusion(const ScreeningState& state, int width, bool invertGrey)
    : flip_(invertGrey ? 255 : 0), diffusion_(width) {
  // Read once, and known to stay within the full scale or not.
  for (int i = 0; i < kLevelCount; ++i) {
    table_[i] = state.levelAmount[i];
    leavesFullScale_ |= table_[i] < 0 || table_[i] > kFullAmount;
  }
}
