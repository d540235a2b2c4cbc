// korvel mask make [--planes P] [--size WxH] [--max M] [--seed S] OUT
// korvel mask apply [--plane K] [--bits 1|2] [--offset XxY] [--step XxY] MASK IN OUT
#include <korvel/korvel.h>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "image_reader.h"
#include "image_writer.h"
#include "input_file.h"
#include "maskmaker/mask_maker.h"
#include "pending_file.h"
#include "stats.h"
#include "tool_error.h"

namespace {

int RunMaskMake(const Words& words) {
  const Arguments arguments(words, {{"--planes", true},
                                    {"--size", true},
                                    {"--max", true},
                                    {"--seed", true},
                                    {"--quiet", false}});
  MaskMakerOptions options;
  options.planes = arguments.IntOr("--planes", 1, 1, 64);
  if (arguments.Has("--size")) {
    const Size size = ParseSize(arguments.Value("--size"), "--size", 1 << 16);
    options.width = size.width;
    options.height = size.height;
  }
  if (static_cast<int64_t>(options.width) * options.height > kMaxMaskMakerPlanePixels)
    throw UsageError("--size: a mask plane holds at most " +
                     std::to_string(kMaxMaskMakerPlanePixels) + " thresholds");
  options.maxThreshold = arguments.IntOr("--max", 65535, 1, INT_MAX);
  options.seed = static_cast<uint32_t>(arguments.IntOr("--seed", 1, 0, INT_MAX));
  if (arguments.Positionals().size() != 1) throw UsageError("mask make takes one file: OUT");
  const std::string& output = arguments.Positionals()[0];

  Progress progress(arguments.Has("--quiet"),
                    static_cast<int64_t>(options.width) * options.height * options.planes * 64);
  progress.Stage("making the mask", 0.0, 0.9);
  const std::vector<uint8_t> stored = MakeStoredMask(options);
  if (stored.empty()) throw ToolError("the mask maker refused these settings");
  PendingFile file(output);
  file.Write(stored.data(), stored.size());
  file.Commit();
  return 0;
}

std::vector<unsigned char> ReadStoredMask(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open: " + std::strerror(errno));
  struct stat status;
  if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode))
    throw ToolError(path + ": not a regular file");
  // LoadMask takes an int length and refuses more than 1 GiB of thresholds.
  if (status.st_size < 20 || status.st_size > 20 + (int64_t{1} << 30))
    throw ToolError(path + ": not a stored korvel mask (" + std::to_string(status.st_size) +
                    " bytes)");
  std::vector<unsigned char> bytes(static_cast<size_t>(status.st_size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    throw ToolError(path + ": cannot read");
  return bytes;
}

// Source rows without padding, as the mask object reads them.
std::vector<unsigned char> UnpaddedPixels(const GreyImage& image) {
  std::vector<unsigned char> pixels(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&pixels[static_cast<size_t>(y) * image.width], image.Row(y), image.width);
  return pixels;
}

struct MaskObject {
  IDitherMaskGenerator* object = DitherMaskGenerator_Create();
  ~MaskObject() {
    if (object) object->ReleaseMask();
    DitherMaskGenerator_Delete(object);
  }
};

int RunMaskApply(const Words& words) {
  const Arguments arguments(words, {{"--plane", true},
                                    {"--bits", true},
                                    {"--offset", true},
                                    {"--step", true},
                                    {"--stats", false},
                                    {"--quiet", false}});
  const int plane = arguments.IntOr("--plane", 0, 0, INT_MAX);
  const int bits = arguments.IntOr("--bits", 1, 1, 2);
  Size offset{0, 0}, step{1, 1};
  if (arguments.Has("--offset"))
    offset = ParsePair(arguments.Value("--offset"), "--offset", "X", INT_MIN / 2, INT_MAX / 2);
  if (arguments.Has("--step"))
    step = ParsePair(arguments.Value("--step"), "--step", "X", 0, 1 << 16);
  if (arguments.Positionals().size() != 3)
    throw UsageError("mask apply takes three files: MASK IN OUT");
  const std::string& maskPath = arguments.Positionals()[0];
  const std::string& input = arguments.Positionals()[1];
  const std::string& output = arguments.Positionals()[2];
  OutputFormat(output, bits);

  const std::vector<unsigned char> stored = ReadStoredMask(maskPath);
  Progress progress(arguments.Has("--quiet"), static_cast<int64_t>(stored.size()));
  progress.Stage("reading", 0.0, 0.3);
  const InputFile inputFile(input);
  GreyImage image;
  try {
    image = ReadGreyImage(inputFile.Path(), progress);
  } catch (const ToolError& error) {
    throw ToolError(inputFile.InUserTerms(error.what()));
  }
  progress.Stage("screening", 0.3, 0.8);
  MaskObject mask;
  if (!mask.object) throw std::bad_alloc();
  if (!mask.object->LoadMask(stored.data(), static_cast<int>(stored.size())))
    throw ToolError(maskPath + ": not a stored korvel mask (its header or length is wrong)");
  const std::vector<unsigned char> source = UnpaddedPixels(image);
  DotRaster raster = DotRaster::Allocate(image.width, image.height, bits);
  if (!mask.object->Dither(source.data(), raster.bytes.get(), static_cast<int>(raster.stride),
                           image.width, image.height, plane, offset.width, offset.height,
                           step.width, step.height, bits))
    throw ToolError(maskPath + ": the mask has no plane " + std::to_string(plane));
  WriteImages({{output, &raster}}, progress);
  progress.Finish();
  if (arguments.Has("--stats")) PrintImageStats(output, image, raster);
  return 0;
}

}  // namespace

int RunMask(const Words& words) {
  if (words.empty() || (words[0] != "make" && words[0] != "apply"))
    throw UsageError("mask needs a subcommand: make or apply");
  const Words rest(words.begin() + 1, words.end());
  return words[0] == "make" ? RunMaskMake(rest) : RunMaskApply(rest);
}
