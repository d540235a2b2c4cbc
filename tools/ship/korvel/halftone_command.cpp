// korvel halftone [options] IN OUT   (or --size WxH OUT for a generated test pattern)
// IN is a grey image, or a CMYK TIFF whose inks are screened each on its own, in parallel.
#include <korvel/korvel_context.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

#include "arguments.h"
#include "banded_screen.h"
#include "commands.h"
#include "image_reader.h"
#include "image_writer.h"
#include "ink_screen.h"
#include "ink_values.h"
#include "input_file.h"
#include "parameter_file_check.h"
#include "screen_table.h"
#include "size_limits.h"
#include "stats.h"
#include "tone_curve_file.h"
#include "tool_error.h"

namespace {

constexpr int kMostThreads = 256;

struct HalftoneJob {
  ScreenSettings screen;
  std::vector<InkSettings> inks;  // one for a grey page or a pattern, four for CMYK
  int threads = 1;
  bool stats = false;
  bool quiet = false;
  std::shared_ptr<InputFile> source;  // null when a pattern is screened at --size
  std::string input;                  // the path its readers open, empty for a pattern
  std::string output;
  Size size{0, 0};
  const ScreenRule* rule = nullptr;
};

int DefaultThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}

// Each ink's quality level and tone curve from --quality and --curve.
std::vector<InkSettings> InkSettingsOf(const Arguments& arguments, int inks) {
  std::vector<InkSettings> settings(inks);
  const std::string quality = arguments.Value("--quality"), curve = arguments.Value("--curve");
  const std::vector<std::string> levels =
      quality.empty() ? std::vector<std::string>(inks) : SplitPerInk(quality, "--quality", inks);
  const std::vector<std::string> curves =
      curve.empty() ? std::vector<std::string>(inks) : SplitPerInk(curve, "--curve", inks);
  for (int ink = 0; ink < inks; ++ink) {
    const std::string name = inks == 1 ? "--quality" : "--quality " + InkName(ink, inks);
    settings[ink].quality =
        levels[ink].empty() ? kDefaultQuality
                            : ParseInt(levels[ink], name, KORVEL_QUALITY_MIN, KORVEL_QUALITY_MAX);
  }
  return settings;
}

// The curve files are read once the command line is known to be sound.
void ReadCurves(const Arguments& arguments, std::vector<InkSettings>& settings) {
  const std::string curve = arguments.Value("--curve");
  if (curve.empty()) return;
  const int inks = static_cast<int>(settings.size());
  const std::vector<std::string> paths = SplitPerInk(curve, "--curve", inks);
  for (int ink = 0; ink < inks; ++ink)
    if (!paths[ink].empty()) settings[ink].curve = ReadToneCurveFile(paths[ink]);
}

bool QualityBesideCurve(const Arguments& arguments, int inks) {
  if (!arguments.Has("--quality") || !arguments.Has("--curve")) return false;
  const auto levels = SplitPerInk(arguments.Value("--quality"), "--quality", inks);
  const auto curves = SplitPerInk(arguments.Value("--curve"), "--curve", inks);
  for (int ink = 0; ink < inks; ++ink)
    if (!levels[ink].empty() && !curves[ink].empty()) return true;
  return false;
}

// The own screen of --screen (its name already accepted by ChooseScreen) and its drops.
void ReadOwnScreen(const Arguments& arguments, ScreenSettings& screen) {
  for (const OwnScreenName& own : kOwnScreenNames)
    if (arguments.Value("--screen") == own.name) screen.ownScreen = own.screen;
  if (!arguments.Has("--drop-inks")) return;
  const DropInks inks = ParseDropInks(arguments.Value("--drop-inks"), "--drop-inks");
  screen.dropInksGiven = true;
  screen.smallDropInk = inks.small;
  screen.mediumDropInk = inks.medium;
  if (!OwnScreenAccepts(screen))
    throw UsageError("--drop-inks " + arguments.Value("--drop-inks") +
                     ": the library takes drop inks in steps of 1/2550 of the large drop, and "
                     "these fall on the same step, on 0 or on the large drop");
}

ScreenRequest RequestOf(const Arguments& arguments, const HalftoneJob& job) {
  ScreenRequest request;
  request.bits = job.screen.bits;
  request.type = job.screen.type;
  request.typeGiven = arguments.Has("--type");
  request.templateDiffusion = job.screen.templateDiffusion;
  request.qualityGiven = arguments.Has("--quality");
  request.dotModeGiven = arguments.Has("--dot-mode");
  request.dotMode = job.screen.dotMode;
  request.cellGiven = arguments.Has("--cell");
  request.sizeGiven = arguments.Has("--size");
  request.inks = static_cast<int>(job.inks.size());
  request.curveGiven = arguments.Has("--curve");
  request.qualityBesideCurve = QualityBesideCurve(arguments, request.inks);
  request.threadsGiven = arguments.Has("--threads");
  request.screen = arguments.Value("--screen");
  request.dropInksGiven = arguments.Has("--drop-inks");
  return request;
}

void ParseFiles(const Arguments& arguments, HalftoneJob& job) {
  const Words& files = arguments.Positionals();
  if (arguments.Has("--size")) {
    if (files.size() != 1) throw UsageError("halftone --size WxH takes one file: OUT");
    job.size = ParseSize(arguments.Value("--size"), "--size", kMaxImageSide);
    CheckRequestedSize(job.size.width, job.size.height, "--size");
    job.output = files[0];
  } else {
    if (files.size() != 2) throw UsageError("halftone takes two files: IN OUT");
    job.output = files[1];
    job.source = std::make_shared<InputFile>(files[0]);
    job.input = job.source->Path();
  }
}

HalftoneJob ParseJob(const Words& words) {
  const Arguments arguments(words, {{"--bits", true},
                                    {"--type", true},
                                    {"--dot-mode", true},
                                    {"--cell", true},
                                    {"--quality", true},
                                    {"--curve", true},
                                    {"--threads", true},
                                    {"--size", true},
                                    {"--screen", true},
                                    {"--drop-inks", true},
                                    {"--template-diffusion", false},
                                    {"--stats", false},
                                    {"--quiet", false}});
  HalftoneJob job;
  ParseFiles(arguments, job);
  ScreenSettings& screen = job.screen;
  screen.bits = arguments.IntOr("--bits", 1, 1, 4);
  if (screen.bits == 3) throw UsageError("--bits must be 1, 2 or 4, not 3");
  screen.type = arguments.IntOr("--type", DefaultType(screen.bits), 0, KORVEL_TEMPLATE_TYPE_MAX);
  screen.dotMode = arguments.IntOr("--dot-mode", 0, 0, KORVEL_DOT_MODE_MAX);
  if (arguments.Has("--cell")) screen.cell = ParseSize(arguments.Value("--cell"), "--cell", 1024);
  screen.templateDiffusion = arguments.Has("--template-diffusion");
  job.inks = InkSettingsOf(arguments, job.input.empty() ? 1 : InksOfInput(job.input));
  job.threads = arguments.IntOr("--threads", DefaultThreads(), 1, kMostThreads);
  job.stats = arguments.Has("--stats");
  job.quiet = arguments.Has("--quiet");
  job.rule = &ChooseScreen(RequestOf(arguments, job));
  ReadOwnScreen(arguments, screen);
  ReadCurves(arguments, job.inks);
  return job;
}

int64_t ExpectedPixels(const HalftoneJob& job) {
  if (job.input.empty()) return static_cast<int64_t>(job.size.width) * job.size.height;
  struct stat status;
  return stat(job.input.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}

// The page's inks: the grey image or the four inks of a CMYK TIFF, or for a test pattern one
// ink without pixels at the pattern's size.
std::vector<GreyImage> ReadPage(const HalftoneJob& job, Progress& progress) {
  if (job.input.empty()) {
    GreyImage pattern;
    pattern.width = job.size.width;
    pattern.height = job.size.height;
    return {pattern};
  }
  progress.Stage("reading", 0.0, 0.2);
  if (job.inks.size() == kCmykInks) return ReadCmykTiff(job.input, progress);
  return {ReadGreyImage(job.input, progress)};
}

// "out.png" for a grey page; "out-C.png", ... or "out.tif C", ... for the inks of a CMYK page.
std::string StatsLabel(const HalftoneJob& job, int ink) {
  if (job.inks.size() == 1) return job.output;
  if (OutputFormat(job.output, job.screen.bits) == ImageFormat::kTiff)
    return job.output + " " + InkName(ink, kCmykInks);
  return InkFilePath(job.output, ink);
}

void PrintStats(const HalftoneJob& job, const std::vector<GreyImage>& inks,
                const std::vector<DotRaster>& rasters) {
  const bool screenedImage = !job.input.empty() && job.rule->source != ScreenSource::kPattern;
  for (size_t ink = 0; ink < rasters.size(); ++ink) {
    const std::string label = StatsLabel(job, static_cast<int>(ink));
    if (screenedImage)
      PrintImageStats(label, inks[ink], rasters[ink]);
    else
      PrintCoverage(label, rasters[ink]);
  }
}

// A grey PGM screened by error diffusion to a PBM or PGM goes through the library's row stream
// band by band, without holding the page; --stats needs the whole page and takes the other way.
bool Banded(const HalftoneJob& job, Progress& progress) {
  const ImageFormat format = OutputFormat(job.output, job.screen.bits);
  if (job.input.empty() || job.inks.size() != 1 || job.stats || !ScreensInBands(job.screen, format))
    return false;
  return ScreenInBands(job.input, job.output, format, job.inks[0], job.screen, progress);
}

int Halftone(const HalftoneJob& job) {
  OutputFormat(job.output, job.screen.bits);  // refuse a bad output name before any work
  RequireOneInkForStandardOutput(job.output, static_cast<int>(job.inks.size()));
  if (job.stats && job.output == kStandardOutput)
    throw UsageError("--stats prints on standard output: give the output a file name, not -");
  for (const InkSettings& ink : job.inks)
    RequireParameterFile(ink.quality, !ink.curve.empty(), *job.rule);
  Progress progress(job.quiet, ExpectedPixels(job));
  if (Banded(job, progress)) return 0;

  const std::vector<GreyImage> inks = ReadPage(job, progress);
  progress.Stage("screening", 0.2, 0.8);
  const std::vector<DotRaster> rasters = ScreenInks(inks, job.inks, job.screen, job.threads);
  WriteInkImages(job.output, rasters, progress);
  progress.Finish();
  if (job.stats) PrintStats(job, inks, rasters);
  return 0;
}

}  // namespace

int RunHalftone(const Words& words) {
  std::shared_ptr<InputFile> source;
  try {
    const HalftoneJob job = ParseJob(words);
    source = job.source;
    return Halftone(job);
  } catch (const UsageError&) {
    throw;
  } catch (const ToolError& error) {
    throw ToolError(source ? source->InUserTerms(error.what()) : error.what());
  }
}
