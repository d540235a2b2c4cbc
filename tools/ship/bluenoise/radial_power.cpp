// Radially averaged periodogram by a separable DFT (rows, then columns) with tabulated twiddles,
// and the low-frequency measure taken from it.
#include <algorithm>
#include <cmath>
#include <complex>

#include "bluenoise/void_and_cluster.h"

namespace {

using Complex = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;

std::vector<Complex> Twiddles(int n) {
  const double step = -2.0 * kPi / n;
  std::vector<Complex> table(n);
  for (int k = 0; k < n; ++k) table[k] = std::polar(1.0, step * k);
  return table;
}

bool IsPowerOfTwo(int n) {
  return (n & (n - 1)) == 0;
}

// In-place radix-2 FFT of n = 2^k contiguous values, with the twiddles of n.
void Fft(Complex* values, int n, const std::vector<Complex>& twiddle) {
  for (int i = 1, j = 0; i < n; ++i) {
    int bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(values[i], values[j]);
  }
  for (int len = 2; len <= n; len <<= 1) {
    const int step = n / len;
    for (int start = 0; start < n; start += len) {
      for (int k = 0; k < len / 2; ++k) {
        const Complex t = values[start + k + len / 2] * twiddle[static_cast<size_t>(k) * step];
        values[start + k + len / 2] = values[start + k] - t;
        values[start + k] += t;
      }
    }
  }
}

// In-place DFT of n values spaced stride apart: by FFT for a power of two, otherwise directly.
void Transform(Complex* values, int n, int stride, const std::vector<Complex>& twiddle,
               std::vector<Complex>& scratch) {
  if (IsPowerOfTwo(n)) {
    for (int k = 0; k < n; ++k) scratch[k] = values[static_cast<size_t>(k) * stride];
    Fft(scratch.data(), n, twiddle);
  } else {
    for (int k = 0; k < n; ++k) {
      Complex sum = 0.0;
      int phase = 0;
      for (int j = 0; j < n; ++j) {
        sum += values[static_cast<size_t>(j) * stride] * twiddle[phase];
        phase += k;
        if (phase >= n) phase -= n;
      }
      scratch[k] = sum;
    }
  }
  for (int k = 0; k < n; ++k) values[static_cast<size_t>(k) * stride] = scratch[k];
}

// Signed frequency of DFT index k of n, folded to -n/2..n/2.
int Folded(int k, int n) {
  return k <= n / 2 ? k : k - n;
}

}  // namespace

std::vector<double> Periodogram(const std::vector<double>& field, int width, int height) {
  if (width < 1 || height < 1 ||
      field.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return {};
  }
  const double pixels = static_cast<double>(field.size());
  double mean = 0.0;
  for (double v : field) mean += v;
  mean /= pixels;

  std::vector<Complex> spectrum(field.size());
  for (size_t i = 0; i < field.size(); ++i) spectrum[i] = field[i] - mean;
  std::vector<Complex> scratch(std::max(width, height));
  const std::vector<Complex> rowTwiddle = Twiddles(width), columnTwiddle = Twiddles(height);
  for (int y = 0; y < height; ++y) {
    Transform(&spectrum[static_cast<size_t>(y) * width], width, 1, rowTwiddle, scratch);
  }
  for (int x = 0; x < width; ++x) Transform(&spectrum[x], height, width, columnTwiddle, scratch);
  std::vector<double> power(field.size());
  for (size_t i = 0; i < field.size(); ++i) power[i] = std::norm(spectrum[i]) / pixels;
  return power;
}

int RadialBin(int u, int v, int width, int height) {
  const int side = std::max(width, height);
  const double fu = static_cast<double>(Folded(u, width)) / width;
  const double fv = static_cast<double>(Folded(v, height)) / height;
  return static_cast<int>(std::lround(std::sqrt(fu * fu + fv * fv) * side));
}

std::vector<double> RadialPowerSpectrum(const std::vector<double>& field, int width, int height) {
  const std::vector<double> periodogram = Periodogram(field, width, height);
  if (periodogram.empty()) return {};
  const int side = std::max(width, height);
  const int bins = static_cast<int>(std::ceil(side * std::sqrt(0.5))) + 1;
  std::vector<double> power(bins, 0.0), members(bins, 0.0);
  for (int v = 0; v < height; ++v) {
    for (int u = 0; u < width; ++u) {
      const int bin = RadialBin(u, v, width, height);
      power[bin] += periodogram[static_cast<size_t>(v) * width + u];
      members[bin] += 1.0;
    }
  }
  for (int k = 0; k < bins; ++k) {
    if (members[k] > 0.0) power[k] /= members[k];
  }
  return power;
}

double LowFrequencyMean(const std::vector<double>& radial, int side, double coverage,
                        double fraction) {
  // The principal frequency of the minority is sqrt(g) cycles per pixel, bin k = k / side.
  const double minority = std::min(coverage, 1.0 - coverage);
  const int last = std::max(1, static_cast<int>(std::sqrt(minority) * side * fraction));
  double sum = 0.0;
  for (int k = 1; k <= last && k < static_cast<int>(radial.size()); ++k) sum += radial[k];
  return sum / last;
}

double LowFrequencyShare(const std::vector<int32_t>& thresholds, int side, int32_t level,
                         double fraction) {
  std::vector<double> dots(thresholds.size());
  double g = 0.0;
  for (size_t i = 0; i < thresholds.size(); ++i) g += dots[i] = thresholds[i] <= level ? 1.0 : 0.0;
  g /= static_cast<double>(thresholds.size());
  const std::vector<double> spectrum = RadialPowerSpectrum(dots, side, side);
  return LowFrequencyMean(spectrum, side, g, fraction) / (g * (1.0 - g));
}
