// korvel halftone [options] IN OUT   (or --size WxH OUT for a generated test pattern)
#include <korvel/korvel.h>

#include <sys/stat.h>

#include <cstdio>
#include <optional>

#include "arguments.h"
#include "commands.h"
#include "image_reader.h"
#include "image_writer.h"
#include "parameter_file_check.h"
#include "screen_table.h"
#include "size_limits.h"
#include "stats.h"
#include "tool_error.h"

namespace {

struct HalftoneJob {
  int bits = 1;
  int type = 0;
  int dotMode = 0;
  Size cell{1, 1};
  int quality = kDefaultQuality;
  bool templateDiffusion = false;
  bool stats = false;
  bool quiet = false;
  std::string input;  // empty when a pattern is screened at --size
  std::string output;
  Size size{0, 0};
  const ScreenRule* screen = nullptr;
};

ScreenRequest RequestOf(const Arguments& arguments, const HalftoneJob& job) {
  ScreenRequest request;
  request.bits = job.bits;
  request.type = job.type;
  request.typeGiven = arguments.Has("--type");
  request.templateDiffusion = job.templateDiffusion;
  request.qualityGiven = arguments.Has("--quality");
  request.dotModeGiven = arguments.Has("--dot-mode");
  request.dotMode = job.dotMode;
  request.cellGiven = arguments.Has("--cell");
  request.sizeGiven = arguments.Has("--size");
  return request;
}

HalftoneJob ParseJob(const Words& words) {
  const Arguments arguments(words, {{"--bits", true},
                                    {"--type", true},
                                    {"--dot-mode", true},
                                    {"--cell", true},
                                    {"--quality", true},
                                    {"--size", true},
                                    {"--template-diffusion", false},
                                    {"--stats", false},
                                    {"--quiet", false}});
  HalftoneJob job;
  job.bits = arguments.IntOr("--bits", 1, 1, 4);
  if (job.bits == 3) throw UsageError("--bits must be 1, 2 or 4, not 3");
  job.type = arguments.IntOr("--type", DefaultType(job.bits), 0, 42);
  job.dotMode = arguments.IntOr("--dot-mode", 0, 0, 3);
  if (arguments.Has("--cell")) job.cell = ParseSize(arguments.Value("--cell"), "--cell", 1024);
  job.quality = arguments.IntOr("--quality", kDefaultQuality, -1, 100);
  job.templateDiffusion = arguments.Has("--template-diffusion");
  job.stats = arguments.Has("--stats");
  job.quiet = arguments.Has("--quiet");
  job.screen = &ChooseScreen(RequestOf(arguments, job));

  const Words& files = arguments.Positionals();
  if (arguments.Has("--size")) {
    if (files.size() != 1) throw UsageError("halftone --size WxH takes one file: OUT");
    job.size = ParseSize(arguments.Value("--size"), "--size", kMaxImageSide);
    CheckImageSize(job.size.width, job.size.height, "--size");
    job.output = files[0];
  } else {
    if (files.size() != 2) throw UsageError("halftone takes two files: IN OUT");
    job.input = files[0];
    job.output = files[1];
  }
  return job;
}

int64_t ExpectedPixels(const HalftoneJob& job) {
  if (job.input.empty()) return static_cast<int64_t>(job.size.width) * job.size.height;
  struct stat status;
  return stat(job.input.c_str(), &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
}

void Screen(const HalftoneJob& job, GreyImage& image, DotRaster& raster) {
  unsigned char* source = job.input.empty() ? nullptr : image.Data();
  const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(job.type);
  const auto dotMode = static_cast<__QUENTAL_DOT_MODE>(job.dotMode);
  int result = 0;
  switch (job.bits) {
    case 1:
      result = KORVEL_GetImageTempateData_1Bit(source, raster.bytes.get(), raster.width,
                                               raster.height, type, job.cell.width, job.cell.height,
                                               dotMode, job.templateDiffusion);
      break;
    case 2:
      result = KORVEL_GetImageTempateData_2Bit(source, raster.bytes.get(), raster.width,
                                               raster.height, type, job.cell.width, job.cell.height,
                                               dotMode, job.templateDiffusion);
      break;
    default:
      result =
          KORVEL_GetImageTempateData_4Bit(source, raster.bytes.get(), raster.width, raster.height);
      break;
  }
  if (result != 1)
    throw ToolError("the library refused to screen a " + std::to_string(raster.width) + "x" +
                    std::to_string(raster.height) + " image");
}

}  // namespace

int RunHalftone(const Words& words) {
  const HalftoneJob job = ParseJob(words);
  OutputFormat(job.output, job.bits);  // refuse a bad output name before any work
  RequireParameterFile(job.quality, *job.screen);
  Progress progress(job.quiet, ExpectedPixels(job));

  GreyImage image;
  if (!job.input.empty()) {
    progress.Stage("reading", 0.0, 0.2);
    image = ReadGreyImage(job.input, progress);
  } else {
    image.width = job.size.width;
    image.height = job.size.height;
  }
  DotRaster raster = DotRaster::Allocate(image.width, image.height, job.bits);
  progress.Stage("screening", 0.2, 0.8);
  KORVEL_Init(job.quality);
  Screen(job, image, raster);
  KORVEL_UnInit();
  WriteImages({{job.output, &raster}}, progress);
  progress.Finish();

  if (job.stats) {
    const bool screenedImage = !job.input.empty() && job.screen->source != ScreenSource::kPattern;
    if (screenedImage)
      PrintImageStats(job.output, image, raster);
    else
      PrintCoverage(job.output, raster);
  }
  return 0;
}
