#include "best_report.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "own_screen_run.h"
#include "quality_metrics.h"
#include "test_images.h"

namespace quality {

namespace {

struct Scores {
  double s15, s3, csf, tone;
};

Scores Score(const GreyImage& image, const GreyImage& halftone) {
  return Scores{HvsPsnr(image, halftone, 1.5), HvsPsnr(image, halftone, 3.0),
                CsfPsnr(image, halftone), MeanToneError(image, halftone)};
}

bool PrintPhoto(const NamedImage& photo, const DropSet& drops, const std::string& dumpFolder) {
  const GreyImage best = ScreenOwn(photo.image, drops, MakeBestScreen);
  const GreyImage fs = FloydSteinbergToDrops(photo.image, drops);
  if (!dumpFolder.empty()) {
    const std::string bits = drops.levels == 2 ? "1bit" : "2bit";
    WritePgm(best, dumpFolder + "/" + photo.name + "_best_" + bits + ".pgm");
    WritePgm(fs, dumpFolder + "/" + photo.name + "_fs_" + bits + ".pgm");
  }
  const Scores b = Score(photo.image, best), f = Score(photo.image, fs);
  const bool good =
      b.s15 - f.s15 >= 3.0 && b.s3 > f.s3 && b.csf > f.csf && std::fabs(b.tone) <= 0.5;
  std::printf(
      "%-16s %d bit  s1.5 %6.2f %6.2f %+5.2f  s3 %6.2f %6.2f %+5.2f  csf %6.2f %6.2f %+5.2f"
      "  tone %+6.3f %+6.3f %s\n",
      photo.name.c_str(), drops.levels == 2 ? 1 : 2, b.s15, f.s15, b.s15 - f.s15, b.s3, f.s3,
      b.s3 - f.s3, b.csf, f.csf, b.csf - f.csf, b.tone, f.tone, good ? "" : "  BELOW THE BAR");
  return good;
}

// Ink of the top four rows against rows 64.. of a flat grey, points; the low-frequency power
// and the anisotropy of best and Floyd-Steinberg.
bool PrintFlat(int grey, const DropSet& drops) {
  const GreyImage patch = FlatPatch(512, 512, static_cast<uint8_t>(grey));
  const GreyImage best = ScreenOwn(patch, drops, MakeBestScreen);
  const GreyImage fs = FloydSteinbergToDrops(patch, drops);
  const double steady = InkCoverage(best, 64, 512);
  double worstTop = 0;
  for (int r = 0; r < 4; ++r)
    worstTop = std::fmax(worstTop, 100 * std::fabs(InkCoverage(best, r, r + 1) - steady));
  const RadialSpectrum sb = RadialPowerSpectrum(best), sf = RadialPowerSpectrum(fs);
  const bool good = worstTop <= 2.0 && sb.lowFrequencyPower <= sf.lowFrequencyPower;
  std::printf("flat %3d %d bit  top rows %5.2f points  lowfreq %.3f fs %.3f%s\n", grey,
              drops.levels == 2 ? 1 : 2, worstTop, sb.lowFrequencyPower, sf.lowFrequencyPower,
              good ? "" : "  BELOW THE BAR");
  return good;
}

}  // namespace

bool PrintBestReport(const std::string& photoFolder, const std::string& dumpFolder) {
  const std::vector<NamedImage> photos = Photographs(photoFolder);
  if (photos.empty()) {
    std::fprintf(stderr, "no photographs in %s\n", photoFolder.c_str());
    return false;
  }
  bool good = true;
  std::printf("best against serpentine Floyd-Steinberg (best fs gain), identity tone curve\n");
  for (const DropSet& drops : {DropSet::OneBit(), DropSet::ThreeDrops()}) {
    for (const NamedImage& photo : photos) good = PrintPhoto(photo, drops, dumpFolder) && good;
  }
  for (const DropSet& drops : {DropSet::OneBit(), DropSet::ThreeDrops()}) {
    for (int grey : {1, 4, 16, 64, 128, 192, 240, 251, 254}) good = PrintFlat(grey, drops) && good;
  }
  return good;
}

}  // namespace quality
