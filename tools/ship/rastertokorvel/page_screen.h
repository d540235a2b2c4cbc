// Screening one page of CUPS raster into another, band by band: rows in, rows out, one row
// stream per ink, the inks of a band screened at the same time on the filter's thread pool.
// Memory follows the page's width and the band height, never its height.
#ifndef KORVEL_FILTER_PAGE_SCREEN_H
#define KORVEL_FILTER_PAGE_SCREEN_H

#include <cups/raster.h>

#include <functional>

#include "filter_settings.h"
#include "page_format.h"
#include "thread_pool.h"

// Rows screened at a time.
constexpr int kBandRows = 64;

struct PageJob {
  cups_raster_t* input;
  cups_raster_t* output;
  const FilterSettings& settings;
  ThreadPool& pool;
  std::function<bool()> stopRequested;     // checked between bands
  std::function<void(double)> progressed;  // the share of the page screened so far
  int* linesWritten = nullptr;             // when given, counts the page's lines written out
};

// Writes the output header and screens the page whose header has just been read. Returns false
// when a stop was requested before the page was done (its remaining lines are not written).
// Throws ToolError for a page that ends early or rows the output does not take.
bool ScreenPage(const PageJob& job, const cups_page_header2_t& header, const PageFormat& format);

#endif
