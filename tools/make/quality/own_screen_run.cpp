#include "own_screen_run.h"

#include <algorithm>
#include <cmath>
#include <complex>
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

// In-place radix-2 FFT of n (a power of two) values `step` apart.
void Fft(std::complex<double>* a, int n, int step) {
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i * step], a[j * step]);
  }
  for (int len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2 * M_PI / len);
    for (int i = 0; i < n; i += len) {
      std::complex<double> t = 1;
      for (int k = 0; k < len / 2; ++k, t *= w) {
        const std::complex<double> u = a[(i + k) * step], v = a[(i + k + len / 2) * step] * t;
        a[(i + k) * step] = u + v;
        a[(i + k + len / 2) * step] = u - v;
      }
    }
  }
}

}  // namespace

double Anisotropy(const GreyImage& halftone, int tile) {
  std::vector<double> power(static_cast<size_t>(tile) * tile, 0);
  std::vector<std::complex<double>> f(power.size());
  int tiles = 0;
  for (int y0 = 0; y0 + tile <= halftone.height; y0 += tile)
    for (int x0 = 0; x0 + tile <= halftone.width; x0 += tile) {
      double mean = 0;
      for (int y = 0; y < tile; ++y)
        for (int x = 0; x < tile; ++x) mean += halftone.At(x0 + x, y0 + y);
      mean /= tile * tile;
      for (int y = 0; y < tile; ++y)
        for (int x = 0; x < tile; ++x)
          f[static_cast<size_t>(y) * tile + x] = halftone.At(x0 + x, y0 + y) - mean;
      for (int y = 0; y < tile; ++y) Fft(&f[static_cast<size_t>(y) * tile], tile, 1);
      for (int x = 0; x < tile; ++x) Fft(&f[x], tile, tile);
      for (size_t i = 0; i < f.size(); ++i) power[i] += std::norm(f[i]);
      ++tiles;
    }
  if (tiles == 0) return 0;
  const int rings = tile / 2;
  std::vector<double> sum(rings, 0), sum2(rings, 0), count(rings, 0);
  for (int v = 0; v < tile; ++v)
    for (int u = 0; u < tile; ++u) {
      const int fu = u <= tile / 2 ? u : u - tile, fv = v <= tile / 2 ? v : v - tile;
      const int ring = static_cast<int>(std::lround(std::sqrt(fu * fu + fv * fv)));
      if (ring < 4 || ring >= rings) continue;
      const double p = power[static_cast<size_t>(v) * tile + u] / tiles;
      sum[ring] += p, sum2[ring] += p * p, count[ring] += 1;
    }
  double anisotropy = 0;
  int used = 0;
  for (int r = 4; r < rings; ++r) {
    const double mean = sum[r] / count[r];
    if (mean <= 0) continue;
    anisotropy += (sum2[r] / count[r] - mean * mean) / (mean * mean);
    ++used;
  }
  return used ? anisotropy / used : 0;
}

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
  for (size_t i = 0; i < levels.size(); ++i) grey.pixels[i] = GreyOfLevel(drops, levels[i]);
  return grey;
}

GreyImage FineScreenGrey(const GreyImage& image, const DropSet& drops) {
  return ScreenOwn(image, drops, MakeFineScreen);
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
