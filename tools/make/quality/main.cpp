// korvel-quality: screens ramps, flat patches, a smooth synthetic scene and photographs with
// the library's error-diffusion screen (identity tone curve), with the same screen never
// restarting, and with a textbook serpentine Floyd-Steinberg, and prints their figures side by
// side; then the row-by-row coverage where diffusions restart: the first rows of 1-bit
// templates and the rows after horizontal tone jumps.
//   korvel-quality [--photos DIR] [--dump DIR] [--spectrum GREY] [--rows] [--sheet OUT.png]
//                  [--best] [--plain-search]
//   korvel-quality --fine [--photos DIR] [--dump DIR] [--inks SMALL MEDIUM]
// --dump writes every input and both halftones of it as PGM files into DIR; --rows prints the
// row figures only; --sheet draws the comparison sheet of every screen into OUT.png; --best
// compares the best screen with Floyd-Steinberg (best_report.h) and fails when it is below its
// bar (give --photos and --dump before it; with --dump it also writes the flat greys' halftones);
// --plain-search sets the best screen beside a plain whole-page search (plain_search.h), inside
// the photographs' borders and on them; --fine prints the fine screen's figures against
// Floyd-Steinberg at one bit and at two bits (drop inks SMALL and MEDIUM of 2550, by default
// 850 and 1700), and fails when DIR holds no photographs; with --dump it also writes the flat
// greys' figures there as tables (fine_report.h).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "best_report.h"
#include "config/tone_curve.h"
#include "core/raster_geometry.h"
#include "core/screening_state.h"
#include "error_diffusion_run.h"
#include "fine_report.h"
#include "floyd_steinberg.h"
#include "image/error_diffusion_screen.h"
#include "korvel/korvel.h"
#include "quality_metrics.h"
#include "row_coverage.h"
#if KORVEL_QUALITY_SHEET
#include "comparison_sheet.h"
#endif
#include "test_images.h"

namespace {

using quality::GreyImage;

std::string g_dumpFolder;  // where halftones are written when --dump is given

GreyImage ErrorDiffusion(const GreyImage& image) {
  static ScreeningState identity;
  for (int i = 0; i < kToneCurveSize; ++i) identity.toneCurve[i] = i;
  const int stride = Stride8(image.width);
  std::vector<uint8_t> in(static_cast<size_t>(stride) * image.height);
  std::vector<uint8_t> out(in.size());
  image.ToRaster(in.data(), stride);
  RunErrorDiffusionScreen(identity, in.data(), out.data(), image.width, image.height);
  return GreyImage::FromRaster(out.data(), image.width, image.height, stride);
}

void Dump(const std::string& name, const GreyImage& image, const GreyImage& ed,
          const GreyImage& fs) {
  if (g_dumpFolder.empty()) return;
  std::string file = name;
  for (char& c : file) c = c == ' ' ? '_' : c;
  quality::WritePgm(image, g_dumpFolder + "/" + file + ".pgm");
  quality::WritePgm(ed, g_dumpFolder + "/" + file + "_ed.pgm");
  quality::WritePgm(fs, g_dumpFolder + "/" + file + "_fs.pgm");
}

void PrintFigures(const std::string& name, const GreyImage& image) {
  const GreyImage edImage = ErrorDiffusion(image);
  const GreyImage fsImage = quality::FloydSteinbergSerpentine(image);
  Dump(name, image, edImage, fsImage);
  const quality::HalftoneFigures ed = quality::MeasureHalftone(image, edImage);
  const quality::HalftoneFigures fs = quality::MeasureHalftone(image, fsImage);
  const double edNoRestart =
      quality::HvsPsnr(image,
                       quality::ScreenErrorDiffusion(image, BuiltInErrorDiffusionTables(),
                                                     ImageErrorDiffusion::Restarts::kFirstRowOnly),
                       1.5);
  std::printf("%-22s %7.2f %7.2f %7.2f | %7.2f %7.2f | %+7.3f %+7.3f | %6.3f %6.3f\n", name.c_str(),
              ed.hvsPsnrSigma1_5, edNoRestart, fs.hvsPsnrSigma1_5, ed.hvsPsnrSigma3,
              fs.hvsPsnrSigma3, ed.meanToneError, fs.meanToneError, ed.blockMeanError,
              fs.blockMeanError);
}

// Flat patches: low-frequency power (worms, clumps) and the ink of the first 16 rows against
// the rest (start-up bands).
void PrintFlatFigures(uint8_t grey) {
  const GreyImage patch = quality::FlatPatch(512, 512, grey);
  const GreyImage ed = ErrorDiffusion(patch), fs = quality::FloydSteinbergSerpentine(patch);
  const quality::RadialSpectrum sEd = quality::RadialPowerSpectrum(ed);
  const quality::RadialSpectrum sFs = quality::RadialPowerSpectrum(fs);
  std::printf("flat %3d  ink %.4f  first16 %.4f %.4f  rest %.4f %.4f  lowfreq %.3f %.3f\n", grey,
              1 - grey / 255.0, quality::InkCoverage(ed, 0, 16), quality::InkCoverage(fs, 0, 16),
              quality::InkCoverage(ed, 16, 512), quality::InkCoverage(fs, 16, 512),
              sEd.lowFrequencyPower, sFs.lowFrequencyPower);
}

// Rows 0..3 of 1-bit templates (width 4096, every level 1..99) against the level's coverage,
// and the four rows after every horizontal jump between the jump greys, in points.
void PrintRowFigures() {
  KORVEL_Init(0);
  double worst[4] = {0, 0, 0, 0};
  int worstLevel[4] = {0, 0, 0, 0};
  for (int level = 1; level <= 99; ++level) {
    const std::vector<double> rows = quality::TemplateRowCoverage(level, 4096, 4);
    const int index = std::min(static_cast<int>(level * 2.55 + 0.5), 255);
    for (int r = 0; r < 4; ++r) {
      const double off = 100 * std::fabs(rows[r] - 10.0 * index / 2550);
      if (off > worst[r]) worst[r] = off, worstLevel[r] = level;
    }
  }
  std::printf("\nrows after a restart, worst points off (row 0 1 2 3)\n");
  std::printf("template start, levels 1..99  %5.2f %5.2f %5.2f %5.2f  (levels %d %d %d %d)\n",
              worst[0], worst[1], worst[2], worst[3], worstLevel[0], worstLevel[1], worstLevel[2],
              worstLevel[3]);
  const struct {
    const char* name;
    quality::JumpPath path;
    int minGreyStep;
  } jumps[] = {{"4-bit image path jumps >40", quality::JumpPath::kImage4Bit, 41},
               {"8-bit level image jumps >40", quality::JumpPath::kLevelImage8Bit, 41},
               {"error diffusion jumps >20", quality::JumpPath::kErrorDiffusion, 21},
               {"  the same, no restarts", quality::JumpPath::kErrorDiffusionNoRestart, 21}};
  for (const auto& jump : jumps) {
    const quality::JumpFigures f = quality::WorstJumpRows(jump.path, 4096, jump.minGreyStep);
    std::printf("%-29s %5.2f %5.2f %5.2f %5.2f  (worst %d over %d)\n", jump.name, f.worst[0],
                f.worst[1], f.worst[2], f.worst[3], f.worstAbove, f.worstBelow);
  }
}

void PrintSpectrum(uint8_t grey) {
  const GreyImage patch = quality::FlatPatch(512, 512, grey);
  const quality::RadialSpectrum ed = quality::RadialPowerSpectrum(ErrorDiffusion(patch));
  const quality::RadialSpectrum fs =
      quality::RadialPowerSpectrum(quality::FloydSteinbergSerpentine(patch));
  std::printf("grey %d: principal frequency %.3f cycles/pixel\nfrequency  ed  fs\n", grey,
              ed.principalFrequency);
  for (size_t i = 0; i < ed.power.size(); ++i) {
    std::printf("%.4f %7.3f %7.3f\n", ed.frequency[i], ed.power[i], fs.power[i]);
  }
}

int WriteSheet(const std::string& photos, const std::string& path) {
#if KORVEL_QUALITY_SHEET
  std::string error;
  if (quality::WriteComparisonSheet(photos, path, &error)) return 0;
  std::fprintf(stderr, "korvel-quality: cannot write the sheet %s: %s\n", path.c_str(),
               error.c_str());
  return 1;
#else
  std::fprintf(stderr, "korvel-quality: built without the tools' PNG writer, no --sheet %s\n",
               path.c_str());
  return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::string photos = KORVEL_QUALITY_PHOTOS;
  const bool fine = std::any_of(argv + 1, argv + argc,
                                [](const char* arg) { return std::strcmp(arg, "--fine") == 0; });
  DropSet threeDrops = DropSet::ThreeDrops();
  for (int i = 1; i < argc; ++i) {
    if (fine && (std::strcmp(argv[i], "--spectrum") == 0 || std::strcmp(argv[i], "--rows") == 0)) {
      std::fprintf(stderr, "--fine takes no --spectrum or --rows\n");
      return 2;
    } else if (std::strcmp(argv[i], "--photos") == 0 && i + 1 < argc) {
      photos = argv[++i];
    } else if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) {
      g_dumpFolder = argv[++i];
    } else if (std::strcmp(argv[i], "--spectrum") == 0 && i + 1 < argc) {
      PrintSpectrum(static_cast<uint8_t>(std::atoi(argv[++i])));
      return 0;
    } else if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
      return WriteSheet(photos, argv[++i]);
    } else if (std::strcmp(argv[i], "--best") == 0) {
      return quality::PrintBestReport(photos, g_dumpFolder) ? 0 : 1;
    } else if (std::strcmp(argv[i], "--plain-search") == 0) {
      if (!g_dumpFolder.empty()) {
        std::fprintf(stderr, "korvel-quality: --plain-search writes no halftones, no --dump\n");
        return 2;
      }
      return quality::PrintSearchYardstick(photos) ? 0 : 1;
    } else if (std::strcmp(argv[i], "--fine") == 0) {
    } else if (!fine && std::strcmp(argv[i], "--inks") == 0) {
      std::fprintf(stderr, "--inks is for --fine only\n");
      return 2;
    } else if (std::strcmp(argv[i], "--inks") == 0 && i + 2 < argc) {
      const int small = std::atoi(argv[i + 1]), medium = std::atoi(argv[i + 2]);
      i += 2;
      if (small <= 0 || medium <= small || medium >= kFullAmount) {
        std::fprintf(stderr, "--inks needs 0 < SMALL < MEDIUM < %d\n", kFullAmount);
        return 2;
      }
      threeDrops = DropSet::ThreeDrops(small, medium);
    } else if (std::strcmp(argv[i], "--rows") == 0) {
      PrintRowFigures();
      return 0;
    } else {
      std::fprintf(stderr,
                   "usage: %s [--photos DIR] [--dump DIR] [--spectrum GREY] [--rows] "
                   "[--sheet OUT.png] [--best] [--plain-search]\n"
                   "       %s --fine [--photos DIR] [--dump DIR] [--inks SMALL MEDIUM]\n",
                   argv[0], argv[0]);
      return 2;
    }
  }
  if (fine) {
    bool written = true;
    for (const DropSet& drops : {DropSet::OneBit(), threeDrops}) {
      written = quality::PrintFinePhotoFigures(photos, drops, g_dumpFolder) && written;
      written = quality::PrintFineFlatFigures(drops, g_dumpFolder) && written;
      std::printf("\n");
    }
    return written ? 0 : 1;
  }
  std::printf("error diffusion (ed), the same never restarting (nr), Floyd-Steinberg (fs)\n");
  std::printf("%-22s %23s | %15s | %15s | %13s\n", "input", "psnr s1.5 ed nr fs", "psnr s3 ed fs",
              "mean tone ed fs", "block32 ed fs");
  PrintFigures("ramp horizontal 1024", quality::HorizontalRamp(1024, 256));
  PrintFigures("ramp vertical 1024", quality::VerticalRamp(256, 1024));
  PrintFigures("smooth scene 512", quality::SmoothScene(512, 512));
  for (const quality::NamedImage& photo : quality::Photographs(photos)) {
    PrintFigures("photo " + photo.name, photo.image);
  }
  for (int grey : {1, 4, 10, 20, 60, 128, 200, 235, 245, 250, 254}) {
    PrintFigures("flat " + std::to_string(grey), quality::FlatPatch(512, 512, grey));
  }
  std::printf("\nflat patches (ed fs)\n");
  for (int grey : {1, 4, 10, 20, 60, 128, 200, 235, 245, 250, 254}) PrintFlatFigures(grey);
  PrintRowFigures();
  return 0;
}
