#include "stats.h"

#include <cstdio>
#include <vector>

#include "dot_rows.h"
#include "quality_metrics.h"

double Coverage::DotFraction() const {
  return pixels ? 1.0 - static_cast<double>(pixelsPerCode[0]) / pixels : 0.0;
}

double Coverage::InkFraction(int bits) const {
  if (!pixels) return 0.0;
  const int maxCode = (1 << bits) - 1;
  double sum = 0.0;
  for (int code = 1; code <= maxCode; ++code)
    sum += static_cast<double>(code) * pixelsPerCode[code];
  return sum / (static_cast<double>(maxCode) * pixels);
}

Coverage MeasureCoverage(const DotRaster& raster) {
  Coverage coverage;
  coverage.pixels = static_cast<int64_t>(raster.width) * raster.height;
  const int perByte = 8 / raster.bits;
  const int maxCode = raster.MaxCode();
  std::vector<uint8_t> row(PackedRowBytes(raster.width, raster.bits));
  for (int y = 0; y < raster.height; ++y) {
    InkRow(raster, y, row.data());
    for (int x = 0; x < raster.width; ++x) {
      const int shift = 8 - raster.bits * (x % perByte + 1);
      ++coverage.pixelsPerCode[(row[x / perByte] >> shift) & maxCode];
    }
  }
  return coverage;
}

double MeanInk(const GreyImage& image) {
  int64_t grey = 0;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.Row(y);
    for (int x = 0; x < image.width; ++x) grey += row[x];
  }
  const double pixels = static_cast<double>(image.width) * image.height;
  return pixels ? 1.0 - static_cast<double>(grey) / (255.0 * pixels) : 0.0;
}

namespace {

double Percent(int64_t part, int64_t whole) {
  return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

void PrintCoverageFigures(const DotRaster& raster, const Coverage& coverage) {
  std::printf("dots %.2f %%", 100.0 * coverage.DotFraction());
  if (raster.bits == 2) {
    std::printf(" (small %.2f %%, medium %.2f %%, large %.2f %%), ink %.2f %%",
                Percent(coverage.pixelsPerCode[1], coverage.pixels),
                Percent(coverage.pixelsPerCode[2], coverage.pixels),
                Percent(coverage.pixelsPerCode[3], coverage.pixels),
                100.0 * coverage.InkFraction(raster.bits));
  } else if (raster.bits == 4) {
    std::printf(", ink %.2f %%", 100.0 * coverage.InkFraction(raster.bits));
  }
}

}  // namespace

void PrintCoverage(const std::string& label, const DotRaster& raster) {
  std::printf("%s: %dx%d, %d bit, ", label.c_str(), raster.width, raster.height, raster.bits);
  PrintCoverageFigures(raster, MeasureCoverage(raster));
  std::printf("\n");
}

namespace {

// The screened raster as the grey levels it prints: paper 255, a full dot 0, drops between.
quality::GreyImage ScreenedGreys(const DotRaster& raster) {
  quality::GreyImage image(raster.width, raster.height);
  const int perByte = 8 / raster.bits;
  const int maxCode = raster.MaxCode();
  uint8_t greyOfCode[16];
  for (int code = 0; code <= maxCode; ++code)
    greyOfCode[code] = static_cast<uint8_t>(255 - code * 255 / maxCode);
  std::vector<uint8_t> row(PackedRowBytes(raster.width, raster.bits));
  for (int y = 0; y < raster.height; ++y) {
    InkRow(raster, y, row.data());
    for (int x = 0; x < raster.width; ++x) {
      const int shift = 8 - raster.bits * (x % perByte + 1);
      image.At(x, y) = greyOfCode[(row[x / perByte] >> shift) & maxCode];
    }
  }
  return image;
}

}  // namespace

void PrintImageStats(const std::string& label, const GreyImage& source, const DotRaster& raster) {
  std::printf("%s: %dx%d, %d bit, source ink %.2f %%, ", label.c_str(), raster.width, raster.height,
              raster.bits, 100.0 * MeanInk(source));
  PrintCoverageFigures(raster, MeasureCoverage(raster));
  const quality::HalftoneFigures figures = quality::MeasureHalftone(
      quality::GreyImage::FromRaster(source.Data(), source.width, source.height,
                                     static_cast<int>(source.stride)),
      ScreenedGreys(raster));
  std::printf(", tone error %+.2f, block error %.2f, HVS PSNR %.2f dB\n", figures.meanToneError,
              figures.blockMeanError, figures.hvsPsnrSigma1_5);
}
