// A whole job: every page of the input raster screened into the output raster.
#ifndef KORVEL_FILTER_RASTER_JOB_H
#define KORVEL_FILTER_RASTER_JOB_H

#include <cups/raster.h>

#include <functional>

#include "filter_log.h"
#include "filter_settings.h"

struct JobResult {
  int pages = 0;         // pages screened whole
  bool stopped = false;  // a stop request ended the job early
  // Of the page a stop request cut short: the lines written out and the lines it has (a planar
  // page has a line per row and ink).
  int linesWritten = 0;
  int lines = 0;
};

// Screens pages until the input ends or a stop is requested, reporting each page written whole
// (one copy of it) to the log's page count. Throws ToolError for a page the filter cannot
// screen, a damaged raster, or a raster without a page.
JobResult ScreenRasterJob(cups_raster_t* input, cups_raster_t* output,
                          const FilterSettings& settings, const FilterLog& log,
                          const std::function<bool()>& stopRequested);

#endif
