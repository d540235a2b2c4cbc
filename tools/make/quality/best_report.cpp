#include "best_report.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "own_screen_run.h"
#include "plain_search.h"
#include "quality_metrics.h"
#include "test_images.h"

namespace quality {

namespace {

// The contrast-sensitivity-like eye's scale the bar is set under, and a sharper one shown beside.
constexpr double kCsfScale = 2.0, kSharpCsfScale = 1.0;

struct Scores {
  double s15, s3, csf, sharpCsf, tone;
};

Scores Score(const GreyImage& image, const GreyImage& halftone) {
  return Scores{HvsPsnr(image, halftone, 1.5), HvsPsnr(image, halftone, 3.0),
                CsfPsnr(image, halftone, kCsfScale), CsfPsnr(image, halftone, kSharpCsfScale),
                MeanToneError(image, halftone)};
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
      "%-14s %d bit  s1.5 %5.2f %5.2f %+5.2f  s3 %5.2f %5.2f %+5.2f  csf2 %5.2f %5.2f %+5.2f"
      "  csf1 %+5.2f  tone %+6.3f %+6.3f%s\n",
      photo.name.c_str(), drops.levels == 2 ? 1 : 2, b.s15, f.s15, b.s15 - f.s15, b.s3, f.s3,
      b.s3 - f.s3, b.csf, f.csf, b.csf - f.csf, b.sharpCsf - f.sharpCsf, b.tone, f.tone,
      good ? "" : "  BELOW THE BAR");
  return good;
}

// The ink of rows 0..3 together against rows 64.. of a flat grey, in points; the low-frequency
// power and the anisotropy of best and of Floyd-Steinberg.
bool PrintFlat(int grey, const DropSet& drops, const std::string& dumpFolder) {
  const GreyImage patch = FlatPatch(512, 512, static_cast<uint8_t>(grey));
  const GreyImage best = ScreenOwn(patch, drops, MakeBestScreen);
  const GreyImage fs = FloydSteinbergToDrops(patch, drops);
  if (!dumpFolder.empty()) {
    const std::string name =
        dumpFolder + "/flat" + std::to_string(grey) + (drops.levels == 2 ? "_1bit" : "_2bit");
    WritePgm(best, name + "_best.pgm");
    WritePgm(fs, name + "_fs.pgm");
  }
  const double top = 100 * std::fabs(InkCoverage(best, 0, 4) - InkCoverage(best, 64, 512));
  const RadialSpectrum sb = RadialPowerSpectrum(best), sf = RadialPowerSpectrum(fs);
  const double ab = Anisotropy(best), af = Anisotropy(fs);
  const bool good = top <= 2.0 && sb.lowFrequencyPower <= sf.lowFrequencyPower && ab <= af;
  std::printf(
      "flat %3d %d bit  top rows %5.2f points  lowfreq %.3f fs %.3f  anisotropy %.3f fs %.3f"
      "  s1.5 %5.2f fs %5.2f%s\n",
      grey, drops.levels == 2 ? 1 : 2, top, sb.lowFrequencyPower, sf.lowFrequencyPower, ab, af,
      HvsPsnr(patch, best, 1.5), HvsPsnr(patch, fs, 1.5), good ? "" : "  BELOW THE BAR");
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
    for (int grey : {1, 2, 4, 8, 16, 32, 64, 96, 128, 160, 192, 224, 240, 248, 251, 253, 254})
      good = PrintFlat(grey, drops, dumpFolder) && good;
  }
  return good;
}

bool PrintSearchYardstick(const std::string& photoFolder) {
  const std::vector<NamedImage> photos = Photographs(photoFolder);
  if (photos.empty()) {
    std::fprintf(stderr, "no photographs in %s\n", photoFolder.c_str());
    return false;
  }
  constexpr int kBorder = 10;
  std::printf(
      "s1.5 PSNR gains over fs: whole / inside a %d px border / on the border; the plain search "
      "started from fs and from best\n",
      kBorder);
  for (const DropSet& drops : {DropSet::OneBit(), DropSet::ThreeDrops()}) {
    for (const NamedImage& photo : photos) {
      const GreyImage fs = FloydSteinbergToDrops(photo.image, drops);
      const GreyImage best = ScreenOwn(photo.image, drops, MakeBestScreen);
      const GreyImage plain = PlainSearch(photo.image, fs, drops, 1.5);
      const GreyImage again = PlainSearch(photo.image, best, drops, 1.5);
      auto row = [&](const GreyImage& h) {
        const SplitPsnr s = HvsPsnrSplit(photo.image, h, 1.5, kBorder);
        const SplitPsnr f = HvsPsnrSplit(photo.image, fs, 1.5, kBorder);
        return std::vector<double>{HvsPsnr(photo.image, h, 1.5) - HvsPsnr(photo.image, fs, 1.5),
                                   s.interior - f.interior, s.border - f.border};
      };
      const std::vector<double> b = row(best), p = row(plain), a = row(again);
      std::printf(
          "%-14s %d bit  best %+5.2f %+5.2f %+5.2f  plain %+5.2f %+5.2f %+5.2f  plain from best "
          "%+5.2f %+5.2f %+5.2f\n",
          photo.name.c_str(), drops.levels == 2 ? 1 : 2, b[0], b[1], b[2], p[0], p[1], p[2], a[0],
          a[1], a[2]);
    }
  }
  return true;
}

}  // namespace quality
