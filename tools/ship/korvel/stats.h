// The figures --stats prints for each output.
#ifndef KORVEL_TOOL_STATS_H
#define KORVEL_TOOL_STATS_H

#include <array>
#include <cstdint>
#include <string>

#include "raster.h"

struct Coverage {
  int64_t pixels = 0;
  std::array<int64_t, 16> pixelsPerCode{};  // how many pixels hold each dot code

  // Share of pixels with any dot.
  double DotFraction() const;
  // Mean dot code over the largest code: the share of full dots that the drops add up to.
  double InkFraction(int bits) const;
};

Coverage MeasureCoverage(const DotRaster& raster);

// Mean ink of a grey image, 0 for white paper and 1 for full ink.
double MeanInk(const GreyImage& image);

// "<label>: WxH, B bit, dots D % [(small ..., medium ..., large ...), ink I %]" on stdout.
void PrintCoverage(const std::string& label, const DotRaster& raster);

// For a screened image: the source's mean ink beside the output's coverage, then how well the
// output reproduces the source: the tone error (mean grey of the output minus that of the
// source, in grey levels; positive is lighter), the mean error of 32 x 32 block means, and the
// PSNR of both after a Gaussian low-pass of 1.5 pixels, a model of the eye at reading distance
// (higher is better).
void PrintImageStats(const std::string& label, const GreyImage& source, const DotRaster& raster);

#endif
