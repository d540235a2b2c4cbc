// CUPS raster written and read back with libcups for the filter's tests, and the programs the
// tests run (the filter itself, cupsfilter, ghostscript).
#ifndef KORVEL_TESTS_CUPS_RASTER_IO_H
#define KORVEL_TESTS_CUPS_RASTER_IO_H

#include <cups/raster.h>

#include <cstdint>
#include <string>
#include <vector>

#include "program_run.h"

namespace cupstest {

// A page: its header and its lines, cupsBytesPerLine bytes each, in file order (a planar page
// has every line of its first colour, then of the next).
struct Page {
  cups_page_header2_t header;
  std::vector<std::vector<uint8_t>> lines;
};

// An 8-bit page of `inks` samples (grey[ink][y * width + x]) in the colour space and order.
Page EightBitPage(cups_cspace_t space, cups_order_t order,
                  const std::vector<std::vector<uint8_t>>& grey, int width, int height);

// Version 1 (uncompressed, short header), 2 (compressed) or 3 (uncompressed) of the format.
void WriteRaster(const std::string& path, const std::vector<Page>& pages, int version = 3);
// The whole pages of the file, up to the first that cannot be read whole.
std::vector<Page> ReadRaster(const std::string& path);

// The dot codes of ink `ink` of a screened page, converted to ink amounts 0..255 (0 paper,
// 255 a full dot) in the page's polarity: row by row, cupsWidth per row.
std::vector<uint8_t> InkAmounts(const Page& page, int ink);

// The filter failed as the scheduler must hear it: status 1 and an ERROR line holding `part`.
void ExpectFilterError(const test::ProgramRun& run, const std::string& what,
                       const std::string& part = "");

using test::ProgramRun;
using test::RunProgram;
using test::ScratchFolder;

}  // namespace cupstest

#endif
