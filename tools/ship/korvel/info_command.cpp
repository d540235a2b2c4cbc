// korvel info [--quality LEVEL]
#include <korvel/korvel.h>

#include <dlfcn.h>
#include <korvel/korvel_context.h>
#include <sys/stat.h>

#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "data_folder.h"
#include "image_writer.h"
#include "parameter_file_check.h"
#include "screening_context.h"
#include "tool_error.h"

namespace {

std::string LoadedLibraryPath() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&KORVEL_Init), &info) && info.dli_fname) return info.dli_fname;
  return "(unknown)";
}

const char* LevelNote(const korvel_quality_facts& level) {
  if (level.reads_file_curve) return "";
  return " (built-in curve; the file is read only for template type 38)";
}

// The file and the library's verdict on it: whether its tone curve is usable where the level
// reads one, otherwise whether it is there at all.
std::string ParameterFileNote(const ParameterFileState& file) {
  if (file.path.empty()) return "none (the data folder's path is too long for the library)";
  struct stat status;
  const bool found = stat(file.path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
  if (!found) return file.path + " (not found)";
  if (file.curveUsable) return file.path + " (found)";
  return file.path + " (found, but " + korvel_strerror(KORVEL_ERROR_PARAMETER_FILE) + ")";
}

}  // namespace

int RunInfo(const Words& words) {
  const Arguments arguments(words, {{"--quality", true}});
  if (!arguments.Positionals().empty()) throw UsageError("info takes no files");
  const int quality =
      arguments.IntOr("--quality", kDefaultQuality, KORVEL_QUALITY_MIN, KORVEL_QUALITY_MAX);
  const korvel_quality_facts level = QualityFacts(quality);
  const ParameterFileState file = ParameterFileOf(quality);
  const DataFolder folder = ActiveDataFolder();

  std::printf("korvel %s\n", KORVEL_VERSION_STRING);
  std::printf("library: %s\n", LoadedLibraryPath().c_str());
  std::printf("quality level: %d, read as %d%s\n", quality, level.level, LevelNote(level));
  std::printf("data folder: %s (%s)\n", folder.path.c_str(), folder.origin.c_str());
  std::printf("parameter file: %s\n", ParameterFileNote(file).c_str());
  std::printf("output formats: PNG, PBM, PGM%s\n",
              TiffSupported() ? ", TIFF" : " (TIFF not available: built without libtiff)");
  return 0;
}
