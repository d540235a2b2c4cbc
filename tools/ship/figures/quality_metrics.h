// Figures of merit of a halftone against the continuous-tone image it reproduces: an error
// weighted by a model of the eye (Gaussian low-pass, as PSNR), the mean-tone error, the error
// of 32 x 32 block means, and the radially averaged power spectrum of a flat patch. A halftone
// is any raster of grey levels (a two-level screen writes 0 for a dot and 255 for none), so
// multi-level screens are measured the same way.
#ifndef KORVEL_TOOLS_QUALITY_QUALITY_METRICS_H
#define KORVEL_TOOLS_QUALITY_QUALITY_METRICS_H

#include <cstdint>
#include <string>
#include <vector>

namespace quality {

// A grey raster without row padding: 255 is paper white, 0 full ink.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // row y at y * width

  GreyImage() = default;
  GreyImage(int w, int h, uint8_t fill = 0)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }

  // Copy from / into a raster with the given row stride in bytes.
  static GreyImage FromRaster(const uint8_t* raster, int width, int height, int stride);
  void ToRaster(uint8_t* raster, int stride) const;
};

struct HalftoneFigures {
  double hvsPsnrSigma1_5 = 0;  // dB after a Gaussian low-pass of sigma 1.5 px
  double hvsPsnrSigma3 = 0;    // dB after a Gaussian low-pass of sigma 3 px
  double meanToneError = 0;    // mean(halftone) - mean(input), grey levels (signed)
  double blockMeanError = 0;   // mean |difference| of 32 x 32 block means, grey levels
};

// All four figures; the two images must have the same size.
HalftoneFigures MeasureHalftone(const GreyImage& input, const GreyImage& halftone);

// PSNR (dB, peak 255) between the two images after both are low-passed by a Gaussian of the
// given sigma (edges replicated); infinite when they agree exactly.
double HvsPsnr(const GreyImage& input, const GreyImage& halftone, double sigma);

// PSNR (dB, peak 255) after both images are filtered by a second model of the eye, one whose
// response falls exponentially with frequency, exp(-2 pi alpha f), as the eye's contrast
// sensitivity does above its peak: the kernel alpha / (alpha^2 + r^2)^1.5, cut at a radius of
// 10 px and normalised (edges replicated). It weighs fine detail more than a Gaussian does.
double ExponentialEyePsnr(const GreyImage& input, const GreyImage& halftone, double alpha);

// HvsPsnr measured apart inside a border `border` pixels wide and on the border itself (both
// images low-passed whole first).
struct SplitPsnr {
  double interior, border;
};
SplitPsnr HvsPsnrSplit(const GreyImage& input, const GreyImage& halftone, double sigma, int border);

// Signed difference of the mean grey levels, halftone minus input.
double MeanToneError(const GreyImage& input, const GreyImage& halftone);

// Mean absolute difference of the block means over blocks of block x block pixels (edge
// blocks as far as the image reaches).
double BlockMeanError(const GreyImage& input, const GreyImage& halftone, int block = 32);

// Ink coverage (0..1, 1 = full ink) of rows y0 .. y1 - 1.
double InkCoverage(const GreyImage& image, int y0, int y1);

// Radially averaged power spectrum of a flat halftone patch: the periodograms of its
// tile x tile tiles (tile a power of two) averaged, each radial ring of width 1 / tile cycles
// per pixel averaged, and the whole divided by the variance g (1 - g) of a two-level pattern of
// coverage g, so that white noise has power 1 everywhere.
struct RadialSpectrum {
  std::vector<double> frequency;  // ring centres, cycles per pixel
  std::vector<double> power;      // normalised power per ring
  double coverage = 0;            // g
  double principalFrequency = 0;  // sqrt(g) for g <= 1/2, else sqrt(1 - g)
  double lowFrequencyPower = 0;   // mean power of the rings up to half the principal frequency
  double anisotropy = 0;  // dB: mean over the rings of power variance / mean^2 (directionality)
};
RadialSpectrum RadialPowerSpectrum(const GreyImage& halftone, int tile = 128);

// Read a binary (P5, 8-bit) PGM file; an empty image when it cannot be read.
GreyImage ReadPgm(const std::string& path);

// Write an image as a binary PGM file; false when it cannot be written.
bool WritePgm(const GreyImage& image, const std::string& path);

}  // namespace quality

#endif
