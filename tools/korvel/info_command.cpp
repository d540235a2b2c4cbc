// korvel info [--quality LEVEL]
#include <korvel/korvel.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "data_folder.h"
#include "image_writer.h"
#include "tool_error.h"

namespace {

std::string LoadedLibraryPath() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&KORVEL_Init), &info) && info.dli_fname) return info.dli_fname;
  return "(unknown)";
}

const char* LevelNote(int bucketed) {
  if (bucketed == 0) return " (built-in curve; the file is read only for template type 38)";
  if (bucketed < 0)
    return " (built-in five-knot curve; the file is read only for template type 38)";
  return "";
}

}  // namespace

int RunInfo(const Words& words) {
  const Arguments arguments(words, {{"--quality", true}});
  if (!arguments.Positionals().empty()) throw UsageError("info takes no files");
  const int quality = arguments.IntOr("--quality", kDefaultQuality, -1, 100);
  const int bucketed = BucketedQualityLevel(quality);
  const DataFolder folder = ActiveDataFolder();
  const std::string path = ParameterFilePath(quality);
  const bool found = access(path.c_str(), R_OK) == 0;

  std::printf("korvel %s\n", KORVEL_VERSION_STRING);
  std::printf("library: %s\n", LoadedLibraryPath().c_str());
  std::printf("quality level: %d, read as %d%s\n", quality, bucketed, LevelNote(bucketed));
  std::printf("data folder: %s (%s)\n", folder.path.c_str(), folder.origin.c_str());
  std::printf("parameter file: %s (%s)\n", path.c_str(), found ? "found" : "not found");
  std::printf("output formats: PNG, PBM, PGM%s\n",
              TiffSupported() ? ", TIFF" : " (TIFF not available: built without libtiff)");
  return 0;
}
