#include "fine_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "own_screen_run.h"
#include "quality_metrics.h"
#include "test_images.h"

namespace quality {

namespace {

constexpr double kExponentialAlpha = 1.0;

struct PhotoFigures {
  double sigma1_5, sigma3, exponential, meanTone;
};

PhotoFigures Figures(const GreyImage& input, const GreyImage& halftone) {
  return {HvsPsnr(input, halftone, 1.5), HvsPsnr(input, halftone, 3.0),
          ExponentialEyePsnr(input, halftone, kExponentialAlpha), MeanToneError(input, halftone)};
}

void PrintRow(const char* name, const PhotoFigures& fine, const PhotoFigures& fs) {
  std::printf(
      "%-22s %6.2f %6.2f %+5.2f | %6.2f %6.2f %+5.2f | %6.2f %6.2f %+5.2f | %+6.3f %+6.3f\n", name,
      fine.sigma1_5, fs.sigma1_5, fine.sigma1_5 - fs.sigma1_5, fine.sigma3, fs.sigma3,
      fine.sigma3 - fs.sigma3, fine.exponential, fs.exponential, fine.exponential - fs.exponential,
      fine.meanTone, fs.meanTone);
}

// Rows 16 and below count as steady.
constexpr int kSteadyFrom = 16;

struct FlatFigures {
  double ink;            // mean ink, 0..1
  double firstRowsOff;   // rows 0..3 together against the steady rows, points of coverage
  double worstFirstRow;  // the furthest of rows 0..3 alone from the steady rows, points
  double steadyStray;    // the furthest of the steady rows alone from them all, points
  double lowFrequency;   // RadialSpectrum::lowFrequencyPower
  double anisotropy;     // dB
};

double RowOff(const GreyImage& halftone, int row, double steady) {
  return 100 * std::fabs(InkCoverage(halftone, row, row + 1) - steady);
}

FlatFigures Flat(const GreyImage& halftone) {
  const double steady = InkCoverage(halftone, kSteadyFrom, halftone.height);
  double worstFirst = 0, steadyStray = 0;
  for (int row = 0; row < 4; ++row)
    worstFirst = std::max(worstFirst, RowOff(halftone, row, steady));
  for (int row = kSteadyFrom; row < halftone.height; ++row)
    steadyStray = std::max(steadyStray, RowOff(halftone, row, steady));
  const RadialSpectrum spectrum = RadialPowerSpectrum(halftone);
  return {InkCoverage(halftone, 0, halftone.height),
          100 * std::fabs(InkCoverage(halftone, 0, 4) - steady),
          worstFirst,
          steadyStray,
          spectrum.lowFrequencyPower,
          spectrum.anisotropy};
}

// One line of the sweep's table: grey, then fine's and fs's figures side by side.
void WriteSweepLine(std::FILE* table, int grey, const FlatFigures& a, const FlatFigures& b) {
  std::fprintf(table, "%d,%.6f,%.6f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f\n", grey, a.lowFrequency,
               b.lowFrequency, a.anisotropy, b.anisotropy, a.firstRowsOff, b.firstRowsOff,
               a.worstFirstRow, a.steadyStray);
}

}  // namespace

bool PrintFinePhotoFigures(const std::string& photos, const DropSet& drops,
                           const std::string& dump) {
  std::printf("fine against serpentine Floyd-Steinberg (fs), %d levels, inks %d %d %d\n",
              drops.levels, drops.ink[1], drops.ink[2], drops.ink[3]);
  std::printf("%-22s %20s | %20s | %20s | %13s\n", "photograph", "sigma 1.5 fine fs +",
              "sigma 3 fine fs +", "exponential fine fs +", "mean tone");
  PhotoFigures fineSum{}, fsSum{};
  int count = 0;
  for (const NamedImage& photo : Photographs(photos)) {
    const GreyImage fine = FineScreenGrey(photo.image, drops);
    const GreyImage fs = FloydSteinbergToDrops(photo.image, drops);
    if (!dump.empty()) {
      const std::string stem = dump + "/" + photo.name + "_" + std::to_string(drops.levels);
      WritePgm(photo.image, dump + "/" + photo.name + ".pgm");
      WritePgm(fine, stem + "_fine.pgm");
      WritePgm(fs, stem + "_fs.pgm");
    }
    const PhotoFigures a = Figures(photo.image, fine), b = Figures(photo.image, fs);
    PrintRow(photo.name.c_str(), a, b);
    fineSum = {fineSum.sigma1_5 + a.sigma1_5, fineSum.sigma3 + a.sigma3,
               fineSum.exponential + a.exponential,
               std::max(fineSum.meanTone, std::fabs(a.meanTone))};
    fsSum = {fsSum.sigma1_5 + b.sigma1_5, fsSum.sigma3 + b.sigma3,
             fsSum.exponential + b.exponential, std::max(fsSum.meanTone, std::fabs(b.meanTone))};
    ++count;
  }
  if (count == 0) {
    std::fprintf(stderr, "no photographs in %s\n", photos.c_str());
    return false;
  }
  const auto mean = [count](const PhotoFigures& s) {
    return PhotoFigures{s.sigma1_5 / count, s.sigma3 / count, s.exponential / count, s.meanTone};
  };
  PrintRow("mean (tone: worst |.|)", mean(fineSum), mean(fsSum));
  return true;
}

bool PrintFineFlatFigures(const DropSet& drops, const std::string& dump) {
  std::FILE* table = nullptr;
  const std::string tablePath = dump + "/fine_flat_" + std::to_string(drops.levels) + ".csv";
  if (!dump.empty()) {
    table = std::fopen(tablePath.c_str(), "w");
    if (!table) {
      std::perror(tablePath.c_str());
      return false;
    }
    std::fprintf(table,
                 "grey,low fine,low fs,anisotropy fine,anisotropy fs,rows 0-3 fine,"
                 "rows 0-3 fs,worst first row fine,steady rows stray fine\n");
  }
  std::printf(
      "flat greys, %d levels (fine fs): ink laid against wanted, rows 0-3 against "
      "the steady rows (points), low-frequency power, anisotropy (dB)\n",
      drops.levels);
  for (int grey : {1, 2, 8, 64, 128, 191, 247, 253, 254}) {
    const GreyImage patch = FlatPatch(512, 512, static_cast<uint8_t>(grey));
    const FlatFigures a = Flat(FineScreenGrey(patch, drops));
    const FlatFigures b = Flat(FloydSteinbergToDrops(patch, drops));
    std::printf(
        "grey %3d wanted %.4f  ink %.4f %.4f  rows %5.2f %5.2f  low %6.3f %6.3f  "
        "aniso %6.2f %6.2f\n",
        grey, (255 - grey) / 255.0, a.ink, b.ink, a.firstRowsOff, b.firstRowsOff, a.lowFrequency,
        b.lowFrequency, a.anisotropy, b.anisotropy);
  }
  int lowerWorse = 0, anisoWorse = 0, worstLowGrey = 0, worstAnisoGrey = 0;
  double worstLow = -1e9, worstAniso = -1e9, worstRows = 0, worstRow = 0, worstStray = 0;
  double meanLow[2] = {0, 0}, meanAniso[2] = {0, 0};
  for (int grey = 1; grey <= 254; ++grey) {
    const GreyImage patch = FlatPatch(512, 256, static_cast<uint8_t>(grey));
    const FlatFigures a = Flat(FineScreenGrey(patch, drops));
    const FlatFigures b = Flat(FloydSteinbergToDrops(patch, drops));
    const double lowRatio = (a.lowFrequency + 1e-3) / (b.lowFrequency + 1e-3);
    if (lowRatio > 1) ++lowerWorse;
    if (a.anisotropy > b.anisotropy) ++anisoWorse;
    if (lowRatio > worstLow) worstLow = lowRatio, worstLowGrey = grey;
    if (a.anisotropy - b.anisotropy > worstAniso)
      worstAniso = a.anisotropy - b.anisotropy, worstAnisoGrey = grey;
    worstRows = std::max(worstRows, a.firstRowsOff);
    worstRow = std::max(worstRow, a.worstFirstRow);
    worstStray = std::max(worstStray, a.steadyStray);
    if (table) WriteSweepLine(table, grey, a, b);
    meanLow[0] += a.lowFrequency / 254, meanLow[1] += b.lowFrequency / 254;
    meanAniso[0] += a.anisotropy / 254, meanAniso[1] += b.anisotropy / 254;
    if (lowRatio > 1.25 || a.anisotropy > b.anisotropy + 3 || a.firstRowsOff > 2)
      std::printf("  grey %3d: low %.3f %.3f, aniso %6.2f %6.2f, rows %5.2f %5.2f\n", grey,
                  a.lowFrequency, b.lowFrequency, a.anisotropy, b.anisotropy, a.firstRowsOff,
                  b.firstRowsOff);
  }
  std::printf(
      "(listed: greys with low-frequency power over 1.25x fs's, anisotropy 3 dB over fs's or "
      "first rows over 2 points off)\n");
  std::printf(
      "greys 1..254: low-frequency power above fs's at %d (worst %.2fx at %d), "
      "anisotropy above fs's at %d (worst %+.2f dB at %d), rows 0-3 off at most %.2f "
      "points (a single one %.2f; single steady rows stray up to %.2f); means: low-frequency "
      "power %.4f %.4f, anisotropy %.2f %.2f dB\n",
      lowerWorse, worstLow, worstLowGrey, anisoWorse, worstAniso, worstAnisoGrey, worstRows,
      worstRow, worstStray, meanLow[0], meanLow[1], meanAniso[0], meanAniso[1]);
  if (table && std::fclose(table) != 0) {
    std::perror(tablePath.c_str());
    return false;
  }
  return true;
}

}  // namespace quality
