#include "quality_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "bluenoise/void_and_cluster.h"

namespace quality {

namespace {

std::vector<double> GaussianKernel(double sigma) {
  const int radius = static_cast<int>(std::ceil(3 * sigma));
  std::vector<double> kernel(2 * radius + 1);
  double sum = 0;
  for (int i = -radius; i <= radius; ++i) {
    kernel[i + radius] = std::exp(-0.5 * i * i / (sigma * sigma));
    sum += kernel[i + radius];
  }
  for (double& k : kernel) k /= sum;
  return kernel;
}

// Separable Gaussian low-pass with replicated edges, handed out row by row: it keeps the
// horizontally filtered rows of one kernel's height, never the whole plane, so that measuring a
// page costs a few rows of memory whatever its height.
class LowPassRows {
 public:
  LowPassRows(const GreyImage& image, const std::vector<double>& kernel)
      : image_(image),
        kernel_(kernel),
        radius_(static_cast<int>(kernel.size() / 2)),
        ring_(kernel.size() * static_cast<size_t>(image.width)),
        row_(image.width) {}

  // The low-passed row y; rows are asked for top to bottom.
  const double* Row(int y) {
    const int w = image_.width, last = image_.height - 1;
    for (; filtered_ <= std::min(y + radius_, last); ++filtered_) FilterRow(filtered_);
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int i = -radius_; i <= radius_; ++i)
        s += kernel_[i + radius_] * Slot(std::min(std::max(y + i, 0), last))[x];
      row_[x] = s;
    }
    return row_.data();
  }

 private:
  double* Slot(int y) {
    return ring_.data() + static_cast<size_t>(y % kernel_.size()) * image_.width;
  }

  void FilterRow(int y) {
    const int w = image_.width;
    double* out = Slot(y);
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int i = -radius_; i <= radius_; ++i)
        s += kernel_[i + radius_] * image_.At(std::min(std::max(x + i, 0), w - 1), y);
      out[x] = s;
    }
  }

  const GreyImage& image_;
  const std::vector<double>& kernel_;
  const int radius_;
  std::vector<double> ring_, row_;
  int filtered_ = 0;
};

double Mean(const GreyImage& image, int x0, int y0, int x1, int y1) {
  double s = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) s += image.At(x, y);
  return s / (static_cast<double>(x1 - x0) * (y1 - y0));
}

// The ink fractions (0 white, 1 full ink) of one n x n tile.
std::vector<double> InkOfTile(const GreyImage& image, int x0, int y0, int n) {
  std::vector<double> ink(static_cast<size_t>(n) * n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      ink[static_cast<size_t>(y) * n + x] = (255 - image.At(x0 + x, y0 + y)) / 255.0;
  return ink;
}

// Mean over the rings 1 .. tile / 2 of each ring's variance of power over its mean squared,
// in dB; 0 dB where the rings are empty (no texture).
double MeanRingAnisotropy(const std::vector<double>& periodogram, int tile) {
  const int rings = tile / 2;
  std::vector<double> sum(rings + 1, 0.0), squares(rings + 1, 0.0), members(rings + 1, 0.0);
  for (int v = 0; v < tile; ++v)
    for (int u = 0; u < tile; ++u) {
      const int ring = RadialBin(u, v, tile, tile);
      if (ring < 1 || ring > rings) continue;
      const double p = periodogram[static_cast<size_t>(v) * tile + u];
      sum[ring] += p, squares[ring] += p * p, members[ring] += 1;
    }
  double total = 0;
  int counted = 0;
  for (int r = 1; r <= rings; ++r) {
    const double mean = sum[r] / members[r];
    if (mean <= 0) continue;
    total += (squares[r] / members[r] - mean * mean) / (mean * mean);
    ++counted;
  }
  return counted && total > 0 ? 10 * std::log10(total / counted) : 0;
}

std::vector<double> PoissonKernel(double alpha, int radius) {
  const int side = 2 * radius + 1;
  std::vector<double> kernel(static_cast<size_t>(side) * side);
  double sum = 0;
  for (int j = -radius; j <= radius; ++j)
    for (int i = -radius; i <= radius; ++i)
      sum += kernel[static_cast<size_t>(j + radius) * side + i + radius] =
          alpha / std::pow(alpha * alpha + i * i + j * j, 1.5);
  for (double& k : kernel) k /= sum;
  return kernel;
}

// The image filtered by a square kernel of the given radius, edges replicated.
std::vector<double> Filtered(const GreyImage& image, const std::vector<double>& kernel,
                             int radius) {
  const int side = 2 * radius + 1, w = image.width, h = image.height;
  std::vector<double> out(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double s = 0;
      for (int j = -radius; j <= radius; ++j) {
        const int yy = std::min(std::max(y + j, 0), h - 1);
        const double* k = &kernel[static_cast<size_t>(j + radius) * side + radius];
        for (int i = -radius; i <= radius; ++i)
          s += k[i] * image.At(std::min(std::max(x + i, 0), w - 1), yy);
      }
      out[static_cast<size_t>(y) * w + x] = s;
    }
  return out;
}

}  // namespace

GreyImage GreyImage::FromRaster(const uint8_t* raster, int width, int height, int stride) {
  GreyImage image(width, height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(&image.At(0, y), raster + static_cast<size_t>(y) * stride, width);
  }
  return image;
}

void GreyImage::ToRaster(uint8_t* raster, int stride) const {
  for (int y = 0; y < height; ++y) {
    std::memcpy(raster + static_cast<size_t>(y) * stride,
                pixels.data() + static_cast<size_t>(y) * width, width);
  }
}

HalftoneFigures MeasureHalftone(const GreyImage& input, const GreyImage& halftone) {
  HalftoneFigures f;
  f.hvsPsnrSigma1_5 = HvsPsnr(input, halftone, 1.5);
  f.hvsPsnrSigma3 = HvsPsnr(input, halftone, 3.0);
  f.meanToneError = MeanToneError(input, halftone);
  f.blockMeanError = BlockMeanError(input, halftone, 32);
  return f;
}

double HvsPsnr(const GreyImage& input, const GreyImage& halftone, double sigma) {
  const std::vector<double> kernel = GaussianKernel(sigma);
  LowPassRows a(input, kernel), b(halftone, kernel);
  double squared = 0;
  for (int y = 0; y < input.height; ++y) {
    const double* rowA = a.Row(y);
    const double* rowB = b.Row(y);
    for (int x = 0; x < input.width; ++x) squared += (rowA[x] - rowB[x]) * (rowA[x] - rowB[x]);
  }
  const double mse = squared / (static_cast<double>(input.width) * input.height);
  if (mse == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 / mse);
}

double ExponentialEyePsnr(const GreyImage& input, const GreyImage& halftone, double alpha) {
  constexpr int kRadius = 10;
  const std::vector<double> kernel = PoissonKernel(alpha, kRadius);
  const std::vector<double> a = Filtered(input, kernel, kRadius);
  const std::vector<double> b = Filtered(halftone, kernel, kRadius);
  double squared = 0;
  for (size_t i = 0; i < a.size(); ++i) squared += (a[i] - b[i]) * (a[i] - b[i]);
  const double mse = squared / static_cast<double>(a.size());
  if (mse == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 / mse);
}

SplitPsnr HvsPsnrSplit(const GreyImage& input, const GreyImage& halftone, double sigma,
                       int border) {
  const std::vector<double> kernel = GaussianKernel(sigma);
  LowPassRows a(input, kernel), b(halftone, kernel);
  double inside = 0, edge = 0;
  size_t insideCount = 0, edgeCount = 0;
  for (int y = 0; y < input.height; ++y) {
    const double* rowA = a.Row(y);
    const double* rowB = b.Row(y);
    for (int x = 0; x < input.width; ++x) {
      const double d2 = (rowA[x] - rowB[x]) * (rowA[x] - rowB[x]);
      const bool interior =
          x >= border && y >= border && x < input.width - border && y < input.height - border;
      (interior ? inside : edge) += d2;
      ++(interior ? insideCount : edgeCount);
    }
  }
  auto psnr = [](double squared, size_t count) {
    return 10 * std::log10(255.0 * 255.0 * static_cast<double>(count) / squared);
  };
  return SplitPsnr{psnr(inside, insideCount), psnr(edge, edgeCount)};
}

double MeanToneError(const GreyImage& input, const GreyImage& halftone) {
  return Mean(halftone, 0, 0, halftone.width, halftone.height) -
         Mean(input, 0, 0, input.width, input.height);
}

double BlockMeanError(const GreyImage& input, const GreyImage& halftone, int block) {
  double sum = 0;
  int blocks = 0;
  for (int y = 0; y < input.height; y += block) {
    for (int x = 0; x < input.width; x += block) {
      const int x1 = std::min(x + block, input.width), y1 = std::min(y + block, input.height);
      sum += std::fabs(Mean(halftone, x, y, x1, y1) - Mean(input, x, y, x1, y1));
      ++blocks;
    }
  }
  return blocks ? sum / blocks : 0;
}

double InkCoverage(const GreyImage& image, int y0, int y1) {
  return 1.0 - Mean(image, 0, y0, image.width, y1) / 255.0;
}

RadialSpectrum RadialPowerSpectrum(const GreyImage& halftone, int tile) {
  RadialSpectrum spectrum;
  const int rings = tile / 2;
  std::vector<double> sum(rings + 1, 0.0);
  std::vector<double> periodogram(static_cast<size_t>(tile) * tile, 0.0);
  int tiles = 0;
  for (int y0 = 0; y0 + tile <= halftone.height; y0 += tile) {
    for (int x0 = 0; x0 + tile <= halftone.width; x0 += tile) {
      const std::vector<double> ink = InkOfTile(halftone, x0, y0, tile);
      const std::vector<double> radial = ::RadialPowerSpectrum(ink, tile, tile);
      for (int r = 1; r <= rings; ++r) sum[r] += radial[r];
      const std::vector<double> tilePower = Periodogram(ink, tile, tile);
      for (size_t i = 0; i < periodogram.size(); ++i) periodogram[i] += tilePower[i];
      ++tiles;
    }
  }
  spectrum.anisotropy = MeanRingAnisotropy(periodogram, tile);
  spectrum.coverage = InkCoverage(halftone, 0, halftone.height);
  const double g = spectrum.coverage;
  const double variance = std::max(g * (1 - g), 1e-12);
  spectrum.principalFrequency = g <= 0.5 ? std::sqrt(g) : std::sqrt(1 - g);
  if (tiles == 0) return spectrum;
  std::vector<double> normalised(rings + 1, 0.0);
  for (int r = 1; r <= rings; ++r) {
    normalised[r] = sum[r] / tiles / variance;
    spectrum.frequency.push_back(static_cast<double>(r) / tile);
    spectrum.power.push_back(normalised[r]);
  }
  spectrum.lowFrequencyPower = LowFrequencyMean(normalised, tile, g, 0.5);
  return spectrum;
}

GreyImage ReadPgm(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {};
  int width = 0, height = 0, maxValue = 0;
  GreyImage image;
  if (std::fscanf(file, "P5 %d %d %d", &width, &height, &maxValue) == 3 && maxValue == 255 &&
      width > 0 && height > 0 && std::fgetc(file) != EOF) {
    image = GreyImage(width, height);
    if (std::fread(image.pixels.data(), 1, image.pixels.size(), file) != image.pixels.size()) {
      image = {};
    }
  }
  std::fclose(file);
  return image;
}

bool WritePgm(const GreyImage& image, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P5\n%d %d\n255\n", image.width, image.height);
  const bool written =
      std::fwrite(image.pixels.data(), 1, image.pixels.size(), file) == image.pixels.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace quality
