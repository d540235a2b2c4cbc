#include <unistd.h>

#include <cstdio>

#include "commands.h"
#include "data_folder.h"

// At a positive level the library builds the tone curve from the level's parameter file; when
// that file is missing the curve is flat and the screened image comes out nearly blank.
void WarnIfParameterFileMissing(int quality, bool quiet) {
  if (quiet || BucketedQualityLevel(quality) <= 0) return;
  const std::string path = ParameterFilePath(quality);
  if (access(path.c_str(), R_OK) == 0) return;
  std::fprintf(stderr,
               "korvel: warning: %s not found, so the tone curve of quality %d is flat "
               "(set KORVEL_DATA_DIR, or use --quality 0 for the built-in curve)\n",
               path.c_str(), quality);
}
