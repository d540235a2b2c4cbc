#include "search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

#include "error_diffusion_run.h"
#include "quality_metrics.h"
#include "row_coverage.h"
#include "test_images.h"

namespace {

constexpr double kJumpLimit = 3.5;         // points, rows 0..3 after a restarting jump, with margin
constexpr double kToneLimit = 0.5;         // grey levels of mean tone error per photograph
constexpr double kSmoothTolerance = 0.05;  // dB a smooth synthetic image may lose
constexpr int kJumpWidth = 4096;           // as wide as the widest test rows
constexpr int kRestartingGreyStep = 21;    // greys more than 20 apart restart the screen

// The shapings tried: the steady windows as they are, and pulls of the errors together that
// are strongest at mid-tones (where photographs restart most), with the mean taken towards 0
// by at most a seventh (a fifth already costs the rows after a jump their tone).
std::vector<RestartShaping> Grid() {
  std::vector<RestartShaping> grid = {RestartShaping{}};
  for (double keepLight : {1.0})
    for (double keepMid : {0.5, 0.25, 0.15, 0.0})
      for (double keepDark : {1.0, 0.85})
        for (double apartMid : {1.0, 0.5, 0.25, 0.0})
          for (double dropMid : {0.0, 0.05, 0.1})
            for (double dropDark : {0.0, 0.1}) {
              RestartShaping s;
              s.keepLight = keepLight, s.keepMid = keepMid, s.keepDark = keepDark;
              s.apartMid = apartMid, s.dropMid = dropMid, s.dropDark = dropDark;
              grid.push_back(s);
            }
  return grid;
}

struct Point {
  RestartShaping shaping;
  double jumpRows = 0;   // worst points over rows 0..3 after the jumps
  double meanPsnr = 0;   // over the training photographs
  double worstGain = 0;  // smallest gain of one image over the first tables (less tolerance)
  double worstTone = 0;  // largest |mean tone error|
  double meanBlock = 0;  // mean 32 x 32 block error
  bool toneKept = true;  // every photograph's tone within its limit
};

Point Evaluate(TableSet& tables, const FlatRuns& runs, const RestartShaping& shaping,
               const std::vector<quality::NamedImage>& photos, size_t scored,
               const std::vector<double>& base, const std::vector<double>& baseTone) {
  BuildRestartTables(tables, runs, shaping);
  const ErrorDiffusionTables view = tables.View();
  Point p;
  p.shaping = shaping;
  const quality::JumpFigures jumps = quality::WorstJumpRows(quality::JumpPath::kErrorDiffusion,
                                                            kJumpWidth, kRestartingGreyStep, &view);
  for (double w : jumps.worst) p.jumpRows = std::max(p.jumpRows, w);
  p.worstGain = 1e9;
  for (size_t i = 0; i < photos.size(); ++i) {
    const quality::GreyImage screened = quality::ScreenErrorDiffusion(photos[i].image, view);
    const quality::HalftoneFigures f = quality::MeasureHalftone(photos[i].image, screened);
    if (i < scored) p.meanPsnr += f.hvsPsnrSigma1_5 / scored;
    // A photograph may not get worse; a smooth synthetic image by no more than a trace (its
    // only restart is the image's first row).
    const double allowed = i < scored ? 0 : kSmoothTolerance;
    p.worstGain = std::min(p.worstGain, f.hvsPsnrSigma1_5 - base[i] + allowed);
    p.worstTone = std::max(p.worstTone, std::fabs(f.meanToneError));
    // Tone may not leave half a grey level, nor grow where it was already beyond that.
    if (std::fabs(f.meanToneError) > std::max(kToneLimit, baseTone[i])) p.toneKept = false;
    if (i < scored) p.meanBlock += f.blockMeanError / scored;
  }
  return p;
}

// Flat patches start without a band: the first 8 rows of a 1024 x 256 patch carry the ink of
// the grey within a tenth of the smaller of ink and paper share (plus 0.002, the sampling spread
// of the sparsest dots), as the screen's quality tests demand.
bool FlatPatchesStartWithoutBands(const ErrorDiffusionTables& tables) {
  for (int grey : {2, 5, 12, 25, 60, 128, 200, 235, 245, 250, 253}) {
    const quality::GreyImage patch = quality::ScreenErrorDiffusion(
        quality::FlatPatch(1024, 256, static_cast<uint8_t>(grey)), tables);
    const double ink = 1 - grey / 255.0;
    if (std::fabs(quality::InkCoverage(patch, 0, 8) - ink) > 0.1 * std::min(ink, 1 - ink) + 0.002)
      return false;
  }
  return true;
}

void Print(const char* what, const Point& p) {
  const RestartShaping& s = p.shaping;
  std::printf(
      "%-6s keep %.2f %.2f %.2f apart %.2f %.2f %.2f drop %.2f %.2f %.2f  jump rows %5.2f"
      "  psnr %6.3f  worst gain %+6.3f  tone %5.3f%s  block %5.3f\n",
      what, s.keepLight, s.keepMid, s.keepDark, s.apartLight, s.apartMid, s.apartDark, s.dropLight,
      s.dropMid, s.dropDark, p.jumpRows, p.meanPsnr, p.worstGain, p.worstTone,
      p.toneKept ? "" : "!", p.meanBlock);
  std::fflush(stdout);
}

}  // namespace

int SearchRestartShaping(TableSet tables, const FlatRuns& runs, const std::string& folder) {
  std::vector<quality::NamedImage> photos = quality::Photographs(folder);
  if (photos.empty()) {
    std::fprintf(stderr, "no photographs in %s\n", folder.c_str());
    return 1;
  }
  // Smooth synthetic images restart only in their first row: they may not get worse either,
  // but do not count in the score.
  const size_t scored = photos.size();
  photos.push_back({"smooth scene", quality::SmoothScene(512, 512)});
  photos.push_back({"vertical ramp", quality::VerticalRamp(256, 1024)});
  photos.push_back({"horizontal ramp", quality::HorizontalRamp(1024, 256)});
  // The tables as they were first made (the closest steady windows, unshaped) are the
  // baseline of every photograph.
  std::vector<double> base, baseTone;
  {
    BuildRestartTables(tables, runs, RestartShaping{}, false);
    for (const quality::NamedImage& photo : photos) {
      const quality::GreyImage screened = quality::ScreenErrorDiffusion(photo.image, tables.View());
      base.push_back(quality::HvsPsnr(photo.image, screened, 1.5));
      baseTone.push_back(std::fabs(quality::MeanToneError(photo.image, screened)));
    }
    std::printf("baseline: mean psnr %.3f\n",
                std::accumulate(base.begin(), base.begin() + scored, 0.0) / scored);
  }
  double ceiling = 0;
  for (size_t i = 0; i < scored; ++i)
    ceiling += quality::HvsPsnr(
                   photos[i].image,
                   quality::ScreenErrorDiffusion(photos[i].image, tables.View(),
                                                 ImageErrorDiffusion::Restarts::kFirstRowOnly),
                   1.5) /
               scored;
  std::printf("%zu training photographs; no-restart ceiling %.3f dB\n", scored, ceiling);

  std::vector<Point> points;
  for (const RestartShaping& shaping : Grid()) {
    points.push_back(Evaluate(tables, runs, shaping, photos, scored, base, baseTone));
    Print("point", points.back());
  }

  // The trade-off: for every limit on the jump rows, the best score within it.
  std::sort(points.begin(), points.end(),
            [](const Point& a, const Point& b) { return a.jumpRows < b.jumpRows; });
  std::printf("\ntrade-off (jump rows limit -> best mean psnr)\n");
  double best = -1e9;
  for (const Point& p : points) {
    if (p.meanPsnr <= best) continue;
    best = p.meanPsnr;
    Print("front", p);
  }
  // The best point that meets the constraints and whose flat patches start without a band.
  std::sort(points.begin(), points.end(),
            [](const Point& a, const Point& b) { return a.meanPsnr > b.meanPsnr; });
  const Point* chosen = nullptr;
  for (const Point& p : points) {
    if (p.jumpRows > kJumpLimit || !p.toneKept || p.worstGain < 0) continue;
    BuildRestartTables(tables, runs, p.shaping);
    if (!FlatPatchesStartWithoutBands(tables.View())) {
      Print("banded", p);
      continue;
    }
    chosen = &p;
    break;
  }
  if (!chosen) {
    std::printf("no shaping meets the constraints\n");
    return 1;
  }
  Print("chosen", *chosen);
  return 0;
}
