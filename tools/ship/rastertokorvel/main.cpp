// rastertokorvel: the CUPS filter that screens 8-bit CUPS raster into 1- or 2-bit CUPS raster
// with korvel. Called by the scheduler as every filter is:
//   rastertokorvel job-id user title copies options [file]
// with the raster in `file` or on standard input; the screened raster goes to standard output,
// and a PAGE: line for each page written goes to the scheduler's page count.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <thread>

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

// The job's document as a file: a regular file only, as the scheduler's spool holds it and as
// each copy reads it again. Opened without waiting, so a FIFO is refused, not waited on.
int OpenInput(const std::string& file) {
  if (file.empty()) return 0;
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw ToolError("cannot open " + file + ": " + std::strerror(errno));
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    throw ToolError(file + " is not a regular file");
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// The times the input is screened. The PPD asks the filters before this one for the copies
// (cupsManualCopies), so a raster they write holds them already; a raster that is the job's
// own document comes as a file, to the first filter, and no filter has made them.
int PassesOverInput(const FilterArguments& arguments) {
  return arguments.file.empty() ? 1 : arguments.copies;
}

// Screens the whole input once into `output`.
JobResult ScreenInput(const FilterArguments& arguments, const FilterSettings& settings,
                      cups_raster_t* output, const FilterLog& log) {
  const int fd = OpenInput(arguments.file);
  auto input = std::make_unique<RasterSource>(fd, StopRequested);
  JobResult result;
  if (input->raster())
    result = ScreenRasterJob(*input, output, settings, log, StopRequested);
  else
    result.stopped = true;  // stopped before the raster's first bytes arrived
  input.reset();
  if (fd != 0) close(fd);
  return result;
}

// A cancelled job's earlier filters get the scheduler's SIGTERM too, and their end can reach
// this filter as a cut input before its own signal does: an input that fails while the stop is
// on its way is the stop. A file has no earlier filter, and no grace.
bool StopOnItsWay(const FilterArguments& arguments) {
  constexpr auto kGrace = std::chrono::milliseconds(300);
  constexpr auto kStep = std::chrono::milliseconds(10);
  if (arguments.file.empty())
    for (auto waited = kStep; !StopRequested() && waited <= kGrace; waited += kStep)
      std::this_thread::sleep_for(kStep);
  return StopRequested();
}

std::string StopMessage(int pages, const JobResult& last) {
  std::string message = "Stopped on request after " + std::to_string(pages) + " whole page(s)";
  if (last.linesWritten < last.lines)
    message += "; " + std::to_string(last.linesWritten) + " of the " + std::to_string(last.lines) +
               " lines of the next page were written, the rest are not";
  return message;
}

int Run(int argc, const char* const* argv, const FilterLog& log) {
  const FilterArguments arguments = ParseFilterArguments(argc, argv);
  log.Debug("job options: " + arguments.options);
  const char* ppd = std::getenv("PPD");
  FilterSettings settings = SettingsFromJob(arguments.options, ppd ? ppd : "");
  settings.parameterFolder = FilterParameterFolder();
  RequireParameterFile(settings.parameterFolder, settings.quality);
  CatchStopRequests();
  // Uncompressed: the backend or the printer's own filter reads it at once, and compressing
  // would cost the filter a tenth of its time.
  Raster output(cupsRasterOpen(1, CUPS_RASTER_WRITE));
  if (!output) throw ToolError("cannot open the raster streams");
  int pages = 0;
  for (int pass = 0; pass < PassesOverInput(arguments); ++pass) {
    JobResult result;
    try {
      result = ScreenInput(arguments, settings, output.get(), log);
    } catch (const ToolError& error) {
      if (!StopOnItsWay(arguments)) throw;
      log.Info("Stopped on request; the input was cut first: " + std::string(error.what()));
      return 1;
    }
    if (result.stopped) {
      log.Info(StopMessage(pages + result.pages, result));
      return 1;
    }
    pages += result.pages;
  }
  output.reset();
  log.Info("Screened " + std::to_string(pages) + " page(s)");
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
