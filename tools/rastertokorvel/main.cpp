// rastertokorvel: the CUPS filter that screens 8-bit CUPS raster into 1- or 2-bit CUPS raster
// with korvel. Called by the scheduler as every filter is:
//   rastertokorvel job-id user title copies options [file]
// with the raster in `file` or on standard input; the screened raster goes to standard output.
// Copies are left to the filters before it, which put them in the raster.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "filter_arguments.h"
#include "filter_log.h"
#include "job_options.h"
#include "parameter_folder.h"
#include "raster_job.h"
#include "raster_source.h"
#include "stop_request.h"
#include "tool_error.h"

namespace {

struct RasterCloser {
  void operator()(cups_raster_t* raster) const { cupsRasterClose(raster); }
};
using Raster = std::unique_ptr<cups_raster_t, RasterCloser>;

int OpenInput(const std::string& file) {
  if (file.empty()) return 0;
  const int fd = open(file.c_str(), O_RDONLY);
  if (fd < 0) throw ToolError("cannot open " + file + ": " + std::strerror(errno));
  return fd;
}

int Run(int argc, const char* const* argv, const FilterLog& log) {
  const FilterArguments arguments = ParseFilterArguments(argc, argv);
  const char* ppd = std::getenv("PPD");
  FilterSettings settings = SettingsFromJob(arguments.options, ppd ? ppd : "");
  settings.parameterFolder = FilterParameterFolder();
  RequireParameterFile(settings.parameterFolder, settings.quality);
  CatchStopRequests();
  const int fd = OpenInput(arguments.file);
  auto input = std::make_unique<RasterSource>(fd, StopRequested);
  // Uncompressed: the backend or the printer's own filter reads it at once, and compressing
  // would cost the filter a tenth of its time.
  Raster output(cupsRasterOpen(1, CUPS_RASTER_WRITE));
  if (!output) throw ToolError("cannot open the output raster");
  const JobResult result = input->raster()
                               ? ScreenRasterJob(*input, output.get(), settings, log, StopRequested)
                               : JobResult{0, true};
  input.reset();
  output.reset();
  if (fd != 0) close(fd);
  if (result.stopped) {
    log.Info("Stopped on request after " + std::to_string(result.pages) +
             " page(s); the page in progress is dropped");
    return 1;
  }
  log.Info("Screened " + std::to_string(result.pages) + " page(s)");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setbuf(stderr, nullptr);
  const FilterLog log(stderr);
  try {
    return Run(argc, argv, log);
  } catch (const std::bad_alloc&) {
    log.Error("out of memory");
  } catch (const std::exception& error) {
    log.Error(error.what());
  }
  return 1;
}
