#include "own_screen_run.h"

#include <algorithm>
#include <cmath>

namespace quality {

std::vector<uint8_t> ScreenLevels(OwnScreen& screen, const GreyImage& image) {
  const size_t width = static_cast<size_t>(image.width);
  std::vector<uint8_t> levels(width * image.height);
  std::vector<uint16_t> amounts(width);
  size_t given = 0;
  for (int y = 0; y < image.height; ++y) {
    for (size_t x = 0; x < width; ++x)
      amounts[x] = static_cast<uint16_t>((255 - image.At(x, y)) * 10);
    screen.TakeRow(amounts.data());
    while (screen.GiveRow(levels.data() + given * width)) ++given;
  }
  return levels;
}

GreyImage LevelsAsGrey(const std::vector<uint8_t>& levels, int width, int height,
                       const DropSet& drops) {
  GreyImage grey(width, height);
  for (size_t i = 0; i < levels.size(); ++i)
    grey.pixels[i] = static_cast<uint8_t>(std::lround(255 - drops.ink[levels[i]] / 10.0));
  return grey;
}

GreyImage FineScreenGrey(const GreyImage& image, const DropSet& drops) {
  const auto screen = MakeFineScreen(image.width, image.height, drops);
  return LevelsAsGrey(ScreenLevels(*screen, image), image.width, image.height, drops);
}

GreyImage FloydSteinbergToDrops(const GreyImage& image, const DropSet& drops) {
  const int width = image.width;
  std::vector<uint8_t> levels(static_cast<size_t>(width) * image.height);
  std::vector<double> current(static_cast<size_t>(width) + 2, 0), next(current.size(), 0);
  for (int y = 0; y < image.height; ++y) {
    const int dir = (y & 1) == 0 ? 1 : -1;
    for (int i = 0; i < width; ++i) {
      const int x = dir > 0 ? i : width - 1 - i;
      const double value = (255 - image.At(x, y)) * 10.0 + current[x + 1];
      int level = 0;
      for (int l = 1; l < drops.levels; ++l)
        if (value >= (drops.ink[l - 1] + drops.ink[l]) / 2.0) level = l;
      levels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(level);
      const double error = value - drops.ink[level];
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error * 1 / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
  }
  return LevelsAsGrey(levels, width, image.height, drops);
}

}  // namespace quality
