#include "plain_search.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quality {

namespace {

int GreyOf(const DropSet& drops, int level) {
  return 255 - (drops.ink[level] + 5) / 10;
}

int LevelOfGrey(const DropSet& drops, int grey) {
  for (int l = 0; l < drops.levels; ++l)
    if (GreyOf(drops, l) == grey) return l;
  return -1;
}

// c_pp of a sampled, normalised Gaussian of sigma, out to 2 * radius.
std::vector<double> GaussianAutocorrelation(double sigma, int& reach) {
  const int radius = static_cast<int>(std::ceil(3 * sigma));
  const int side = 2 * radius + 1;
  std::vector<double> p(static_cast<size_t>(side) * side);
  double sum = 0;
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x)
      sum += p[(y + radius) * side + x + radius] =
          std::exp(-0.5 * (x * x + y * y) / (sigma * sigma));
  for (double& v : p) v /= sum;
  reach = 2 * radius;
  const int cside = 2 * reach + 1;
  std::vector<double> c(static_cast<size_t>(cside) * cside, 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      for (int v = 0; v < side; ++v)
        for (int u = 0; u < side; ++u)
          c[(v - y + reach) * cside + u - x + reach] += p[y * side + x] * p[v * side + u];
  return c;
}

}  // namespace

GreyImage PlainSearch(const GreyImage& image, const GreyImage& start, const DropSet& drops,
                      double sigma, int maxSweeps) {
  const int w = image.width, h = image.height;
  int reach = 0;
  const std::vector<double> c = GaussianAutocorrelation(sigma, reach);
  const int cside = 2 * reach + 1;
  auto C = [&](int dx, int dy) { return c[(dy + reach) * cside + dx + reach]; };
  std::vector<int> level(static_cast<size_t>(w) * h);
  std::vector<double> e(level.size()), cep(level.size(), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      level[i] = LevelOfGrey(drops, start.At(x, y));
      e[i] = drops.ink[level[i]] - (255 - image.At(x, y)) * 10.0;
    }
  auto add = [&](int x, int y, double d) {
    for (int v = std::max(y - reach, 0); v <= std::min(y + reach, h - 1); ++v)
      for (int u = std::max(x - reach, 0); u <= std::min(x + reach, w - 1); ++u)
        cep[static_cast<size_t>(v) * w + u] += d * C(u - x, v - y);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) add(x, y, e[static_cast<size_t>(y) * w + x]);
  const double c0 = C(0, 0);
  for (int sweep = 0; sweep < maxSweeps; ++sweep) {
    int changes = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t i = static_cast<size_t>(y) * w + x;
        double best = -1e-9;
        int bestLevel = -1, bx = 0, by = 0;
        for (int l = 0; l < drops.levels; ++l) {
          if (l == level[i]) continue;
          const double d = drops.ink[l] - drops.ink[level[i]];
          const double gain = d * d * c0 + 2 * d * cep[i];
          if (gain < best) best = gain, bestLevel = l, bx = 0, by = 0;
        }
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int u = x + dx, v = y + dy;
            if ((dx == 0 && dy == 0) || u < 0 || v < 0 || u >= w || v >= h) continue;
            const size_t n = static_cast<size_t>(v) * w + u;
            if (level[n] == level[i]) continue;
            const double d = drops.ink[level[n]] - drops.ink[level[i]];
            const double gain = 2 * d * d * (c0 - C(dx, dy)) + 2 * d * (cep[i] - cep[n]);
            if (gain < best) best = gain, bestLevel = level[n], bx = dx, by = dy;
          }
        if (bestLevel < 0) continue;
        ++changes;
        const double d = drops.ink[bestLevel] - drops.ink[level[i]];
        if (bx != 0 || by != 0) {
          const size_t n = static_cast<size_t>(y + by) * w + x + bx;
          level[n] = level[i];
          add(x + bx, y + by, -d);
        }
        level[i] = bestLevel;
        add(x, y, d);
      }
    if (changes == 0) break;
  }
  GreyImage out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.At(x, y) = static_cast<uint8_t>(GreyOf(drops, level[static_cast<size_t>(y) * w + x]));
  return out;
}

}  // namespace quality
