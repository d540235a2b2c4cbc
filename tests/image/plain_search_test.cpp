// The plain whole-page search the best screen is measured against ends where no toggle and no
// swap with a neighbour lowers the eye-filtered error, and lowers it from the start. The error is
// computed here the slow way: the halftone minus the image filtered by the sampled Gaussian over
// the whole plane the filter reaches, squared and summed.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "own_screen_run.h"
#include "plain_search.h"

namespace {

constexpr double kSigma = 1.0;

double FilteredError(const quality::GreyImage& image, const quality::GreyImage& halftone) {
  const int radius = static_cast<int>(std::ceil(3 * kSigma));
  std::vector<double> taps;
  double sum = 0;
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x) {
      taps.push_back(std::exp(-0.5 * (x * x + y * y) / (kSigma * kSigma)));
      sum += taps.back();
    }
  double error = 0;
  for (int v = -radius; v < image.height + radius; ++v)
    for (int u = -radius; u < image.width + radius; ++u) {
      double filtered = 0;
      for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x) {
          const int px = u + x, py = v + y;
          if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
          filtered += taps[(y + radius) * (2 * radius + 1) + x + radius] / sum *
                      (image.At(px, py) - halftone.At(px, py));
        }
      error += filtered * filtered;
    }
  return error;
}

quality::GreyImage RandomImage(int w, int h, std::mt19937& random) {
  quality::GreyImage image(w, h);
  std::uniform_int_distribution<int> grey(0, 255);
  const int base = grey(random);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.At(x, y) = static_cast<uint8_t>((base + grey(random) / 4) % 256);
  return image;
}

// Some toggle to another level or swap with a neighbour that lowers the error.
bool SomeChangeGains(const quality::GreyImage& image, quality::GreyImage halftone,
                     const DropSet& drops) {
  const double now = FilteredError(image, halftone);
  std::vector<uint8_t> greys;
  for (int l = 0; l < drops.levels; ++l)
    greys.push_back(static_cast<uint8_t>(255 - (drops.ink[l] + 5) / 10));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const uint8_t mine = halftone.At(x, y);
      for (uint8_t g : greys) {
        if (g == mine) continue;
        halftone.At(x, y) = g;
        if (FilteredError(image, halftone) < now * (1 - 1e-9)) return true;
        halftone.At(x, y) = mine;
      }
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int u = x + dx, v = y + dy;
          if (u < 0 || v < 0 || u >= image.width || v >= image.height) continue;
          std::swap(halftone.At(x, y), halftone.At(u, v));
          const bool gains = FilteredError(image, halftone) < now * (1 - 1e-9);
          std::swap(halftone.At(x, y), halftone.At(u, v));
          if (gains) return true;
        }
    }
  return false;
}

TEST(PlainSearch, EndsAtALocalMinimumBelowItsStart) {
  std::mt19937 random(7);
  for (const DropSet& drops : {DropSet::OneBit(), DropSet::ThreeDrops()}) {
    for (int trial = 0; trial < 2; ++trial) {
      const quality::GreyImage image = RandomImage(9, 7, random);
      const quality::GreyImage diffused = quality::FloydSteinbergToDrops(image, drops);
      const quality::GreyImage paper(image.width, image.height, 255);
      for (const quality::GreyImage& start : {diffused, paper}) {
        const quality::GreyImage found = quality::PlainSearch(image, start, drops, kSigma);
        EXPECT_LE(FilteredError(image, found), FilteredError(image, start));
        EXPECT_FALSE(SomeChangeGains(image, found, drops)) << "trial " << trial;
      }
      EXPECT_LT(FilteredError(image, quality::PlainSearch(image, paper, drops, kSigma)),
                FilteredError(image, paper));
    }
  }
}

}  // namespace
