// A whole job: every page of the input raster screened into the output raster.
#ifndef KORVEL_FILTER_RASTER_JOB_H
#define KORVEL_FILTER_RASTER_JOB_H

#include <cups/raster.h>

#include <functional>

#include "filter_log.h"
#include "filter_settings.h"
#include "raster_source.h"

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
// screen, a damaged raster (a page header of any page included: bytes after a page that do not
// make a page are never taken for the end), or a raster without a page.
JobResult ScreenRasterJob(RasterSource& source, cups_raster_t* output,
                          const FilterSettings& settings, const FilterLog& log,
                          const std::function<bool()>& stopRequested);

#endif
