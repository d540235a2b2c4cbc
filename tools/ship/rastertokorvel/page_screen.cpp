#include "page_screen.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ink_stream.h"
#include "row_packing.h"
#include "tool_error.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Reads `rows` lines into `lines` in one call; false when a stop request cut the reading short
// (SIGTERM interrupts a read that waits for the previous filter).
bool ReadLines(const PageJob& job, const PageFormat& format, uint8_t* lines, int y, int rows) {
  const size_t bytes = format.inputBytesPerLine * rows;
  if (cupsRasterReadPixels(job.input, lines, static_cast<unsigned>(bytes)) == bytes) return true;
  if (job.stopRequested()) return false;
  throw ToolError("the page ends early: rows " + std::to_string(y + 1) + " to " +
                  std::to_string(y + rows) + " of " + std::to_string(format.height) +
                  " cannot be read");
}

void WriteLine(const PageJob& job, const PageFormat& format, uint8_t* line) {
  const unsigned bytes = static_cast<unsigned>(format.OutputBytesPerLine());
  if (cupsRasterWritePixels(job.output, line, bytes) != bytes)
    throw ToolError("cannot write the screened rows");
  if (job.linesWritten) ++*job.linesWritten;
}

std::vector<std::unique_ptr<InkStream>> BeginInkStreams(const PageJob& job,
                                                        const PageFormat& format) {
  std::vector<std::unique_ptr<InkStream>> streams;
  for (char ink : format.inks)
    streams.push_back(std::make_unique<InkStream>(job.settings, ink, format.width, format.height));
  return streams;
}

// The working rows of one band: the input lines, and per ink its grey rows and the dot rows
// its stream finished (a band's rows and up to `delay` rows the stream held back before).
struct Band {
  Band(const PageFormat& format, int inks, int delay)
      : input(format.inputBytesPerLine * kBandRows),
        grey(inks, Bytes(static_cast<size_t>(format.width) * kBandRows)),
        dots(inks, Bytes(format.InkRowBytes() * (kBandRows + delay))),
        finished(inks, 0),
        line(OutputLineCapacity(format)) {}
  Bytes input;
  std::vector<Bytes> grey;
  std::vector<Bytes> dots;
  std::vector<int> finished;  // dot rows each ink's stream finished
  Bytes line;

  // The dot rows of the band, which every ink's stream finished alike (they share a screen).
  int FinishedRows() const {
    for (int count : finished)
      if (count != finished.front()) throw ToolError("the inks' streams finished unlike rows");
    return finished.empty() ? 0 : finished.front();
  }
};

// Screens `rows` rows of one ink of the band; returns the dot rows its stream finished.
int ScreenInkRows(const PageFormat& format, InkStream& stream, Band& band, int ink, int rows) {
  const size_t greyStride = static_cast<size_t>(format.width);
  const size_t dotStride = format.InkRowBytes();
  uint8_t* grey = band.grey[ink].data();
  uint8_t* dots = band.dots[ink].data();
  for (int row = 0; row < rows; ++row)
    ExtractInk(format, band.input.data() + format.inputBytesPerLine * row, ink,
               grey + greyStride * row);
  const int finished = stream.Screen(grey, greyStride, dots, dotStride, rows);
  for (int row = 0; row < finished; ++row) ClearPastWidth(format, dots + dotStride * row);
  band.finished[ink] = finished;
  return finished;
}

void WriteBand(const PageJob& job, const PageFormat& format, Band& band, int rows) {
  std::vector<const uint8_t*> inkRows(format.InkCount());
  for (int row = 0; row < rows; ++row) {
    for (int ink = 0; ink < format.InkCount(); ++ink)
      inkRows[ink] = band.dots[ink].data() + format.InkRowBytes() * row;
    PackLine(format, inkRows.data(), band.line.data());
    WriteLine(job, format, band.line.data());
  }
}

int RowsFrom(const PageFormat& format, int y) {
  return std::min(kBandRows, format.height - y);
}

// Chunked and banded pages: every line holds every ink, so the inks of a band are screened
// side by side on the pool, and beside them one more task writes the band before and reads the
// band after (two bands in turn): whichever thread is free takes the next task.
bool ScreenInterleaved(const PageJob& job, const PageFormat& format) {
  auto streams = BeginInkStreams(job, format);
  const int inks = format.InkCount();
  const int delay = streams.front()->Delay();
  Band bands[2] = {Band(format, inks, delay), Band(format, inks, delay)};
  if (!ReadLines(job, format, bands[0].input.data(), 0, RowsFrom(format, 0))) return false;
  int writtenRows = 0;  // rows of the band before, waiting in the other band's dots
  bool stopped = false;
  for (int y = 0, current = 0; y < format.height; y += kBandRows, current ^= 1) {
    if (job.stopRequested()) return false;
    Band &band = bands[current], &other = bands[current ^ 1];
    const int rows = RowsFrom(format, y), next = y + rows;
    const auto writeAndRead = [&] {
      WriteBand(job, format, other, writtenRows);
      stopped = next < format.height &&
                !ReadLines(job, format, other.input.data(), next, RowsFrom(format, next));
    };
    PoolTasks tasks(job.pool, inks + 1, [&](int task) {
      if (task == 0) return writeAndRead();
      ScreenInkRows(format, *streams[task - 1], band, task - 1, rows);
    });
    tasks.Wait();
    if (stopped) return false;
    writtenRows = band.FinishedRows();
    job.progressed(static_cast<double>(next) / format.height);
  }
  WriteBand(job, format, bands[(format.height - 1) / kBandRows % 2], writtenRows);
  return true;
}

// Planar pages: all rows of the first ink, then all of the next; each ink streams in turn.
bool ScreenPlanar(const PageJob& job, const PageFormat& format) {
  const int inks = format.InkCount();
  for (int ink = 0; ink < inks; ++ink) {
    InkStream stream(job.settings, format.inks[ink], format.width, format.height);
    Band band(format, 1, stream.Delay());
    for (int y = 0; y < format.height; y += kBandRows) {
      if (job.stopRequested()) return false;
      const int rows = RowsFrom(format, y);
      if (!ReadLines(job, format, band.input.data(), y, rows)) return false;
      // Every line of a planar page holds one ink: it is read as the page's only ink.
      const int finished = ScreenInkRows(format, stream, band, 0, rows);
      for (int row = 0; row < finished; ++row) {
        PackPlane(format, band.dots[0].data() + format.InkRowBytes() * row, band.line.data());
        WriteLine(job, format, band.line.data());
      }
      job.progressed((ink + static_cast<double>(y + rows) / format.height) / inks);
    }
  }
  return true;
}

}  // namespace

bool ScreenPage(const PageJob& job, const cups_page_header2_t& header, const PageFormat& format) {
  cups_page_header2_t output = OutputHeader(header, format);
  if (!cupsRasterWriteHeader2(job.output, &output))
    throw ToolError("cannot write the header of the screened page");
  return format.order == CUPS_ORDER_PLANAR ? ScreenPlanar(job, format)
                                           : ScreenInterleaved(job, format);
}
