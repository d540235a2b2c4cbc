#include "own_screen_run.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quality {

namespace {

uint8_t GreyOfLevel(const DropSet& drops, int level) {
  return static_cast<uint8_t>(255 - (drops.ink[level] + 5) / 10);
}

void ReadRows(OwnScreen& screen, const DropSet& drops, GreyImage& out, int& y) {
  std::vector<uint8_t> levels(static_cast<size_t>(out.width));
  while (screen.GiveRow(levels.data())) {
    for (int x = 0; x < out.width; ++x) out.At(x, y) = GreyOfLevel(drops, levels[x]);
    ++y;
  }
}

std::vector<double> CsfKernel(double scale, int& radius) {
  radius = static_cast<int>(std::ceil(6 * scale));
  const int side = 2 * radius + 1;
  std::vector<double> kernel(static_cast<size_t>(side) * side);
  double sum = 0;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      const double r2 = (dx * dx + dy * dy) / (scale * scale);
      const double v = std::pow(1 + r2, -1.5);
      kernel[static_cast<size_t>(dy + radius) * side + dx + radius] = v;
      sum += v;
    }
  for (double& k : kernel) k /= sum;
  return kernel;
}

std::vector<double> Filter(const GreyImage& image, const std::vector<double>& kernel, int radius) {
  const int w = image.width, h = image.height, side = 2 * radius + 1;
  std::vector<double> out(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int dy = -radius; dy <= radius; ++dy) {
        const int yy = std::min(std::max(y + dy, 0), h - 1);
        for (int dx = -radius; dx <= radius; ++dx)
          s += kernel[static_cast<size_t>(dy + radius) * side + dx + radius] *
               image.At(std::min(std::max(x + dx, 0), w - 1), yy);
      }
      out[static_cast<size_t>(y) * w + x] = s;
    }
  return out;
}

}  // namespace

GreyImage ScreenOwnInBands(const GreyImage& image, const DropSet& drops, const OwnScreenMaker& make,
                           int band) {
  std::unique_ptr<OwnScreen> screen = make(image.width, image.height, drops);
  GreyImage out(image.width, image.height);
  std::vector<uint16_t> amounts(static_cast<size_t>(image.width));
  int given = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x)
      amounts[x] = static_cast<uint16_t>((255 - image.At(x, y)) * 10);
    screen->TakeRow(amounts.data());
    if ((y + 1) % band == 0) ReadRows(*screen, drops, out, given);
  }
  ReadRows(*screen, drops, out, given);
  return out;
}

GreyImage ScreenOwn(const GreyImage& image, const DropSet& drops, const OwnScreenMaker& make) {
  return ScreenOwnInBands(image, drops, make, 1);
}

GreyImage FloydSteinbergToDrops(const GreyImage& image, const DropSet& drops) {
  const int w = image.width;
  std::vector<double> current(static_cast<size_t>(w) + 2, 0), next(current.size(), 0);
  GreyImage out(w, image.height);
  for (int y = 0; y < image.height; ++y) {
    const int dir = (y & 1) == 0 ? 1 : -1;
    for (int i = 0; i < w; ++i) {
      const int x = dir > 0 ? i : w - 1 - i;
      const double want = (255 - image.At(x, y)) * 10.0 + current[x + 1];
      int level = 0;
      for (int l = 1; l < drops.levels; ++l)
        if (2 * want >= drops.ink[l - 1] + drops.ink[l]) level = l;
      out.At(x, y) = GreyOfLevel(drops, level);
      const double error = want - drops.ink[level];
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error * 1 / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
  }
  return out;
}

double CsfPsnr(const GreyImage& input, const GreyImage& halftone, double scale) {
  int radius = 0;
  const std::vector<double> kernel = CsfKernel(scale, radius);
  const std::vector<double> a = Filter(input, kernel, radius), b = Filter(halftone, kernel, radius);
  double squared = 0;
  for (size_t i = 0; i < a.size(); ++i) squared += (a[i] - b[i]) * (a[i] - b[i]);
  const double mse = squared / static_cast<double>(a.size());
  if (mse == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace quality
