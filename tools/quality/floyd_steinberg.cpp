#include "floyd_steinberg.h"

#include <algorithm>

namespace quality {

GreyImage FloydSteinbergSerpentine(const GreyImage& image) {
  const int w = image.width;
  GreyImage out(w, image.height);
  // Column x lives at index x + 1; the guards take what falls off either side.
  std::vector<double> current(w + 2, 0.0), next(w + 2, 0.0);
  for (int y = 0; y < image.height; ++y) {
    const int dir = (y & 1) == 0 ? 1 : -1;
    for (int i = 0; i < w; ++i) {
      const int x = dir > 0 ? i : w - 1 - i;
      const double value = image.At(x, y) + current[x + 1];
      const uint8_t level = value < 127.5 ? 0 : 255;
      out.At(x, y) = level;
      const double error = value - level;
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error * 1 / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0.0);
  }
  return out;
}

}  // namespace quality
