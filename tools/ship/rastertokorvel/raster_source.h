// The raster the filter reads, handed to libcups through a read function of the filter's own.
// It lets the filter tell the clean end of a job (no byte after the last page) from a next page
// that is damaged or cut short, which libcups reports alike, and lets a stop request end a wait
// for input (libcups would retry a read that the signal interrupts).
//
// libcups reads a compressed raster through a buffer that it fills with as much as a read
// returns, which could take bytes of the next page while it reads a page; this source gives such
// a fill no more than the page certainly still holds (compressed_page_tracker.h), and one byte
// at a time where it cannot tell, so that libcups never holds a byte of a page it has not begun.
#ifndef KORVEL_FILTER_RASTER_SOURCE_H
#define KORVEL_FILTER_RASTER_SOURCE_H

#include <cups/raster.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compressed_page_tracker.h"

class RasterSource {
 public:
  // Reads `fd` (not closed here); a true `stopRequested` ends every wait for input within a
  // tenth of a second, as the end of the input would. Throws ToolError when libcups refuses
  // the stream's start.
  RasterSource(int fd, std::function<bool()> stopRequested);
  ~RasterSource();
  RasterSource(const RasterSource&) = delete;
  RasterSource& operator=(const RasterSource&) = delete;

  cups_raster_t* raster() const { return raster_; }

  // Waits until a byte that libcups has not taken is there (true) or the input ends, fails or a
  // stop is requested (false).
  bool MoreFollows();
  // The error of a failed read, "" when none failed.
  const std::string& readError() const { return readError_; }

 private:
  static ssize_t ReadFor(void* source, unsigned char* buffer, size_t length);
  ssize_t Deliver(unsigned char* buffer, size_t length);
  bool HasBytes() { return position_ < end_ || Fill(); }
  bool Fill();
  bool WaitForInput();
  void NoteSyncWord(const unsigned char* bytes, size_t count);

  int fd_;
  std::function<bool()> stopRequested_;
  std::vector<unsigned char> chunk_;
  size_t position_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
  std::string readError_;
  unsigned char sync_[4] = {};
  size_t syncBytes_ = 0;
  bool compressed_ = false;
  std::optional<CompressedPageTracker> tracker_;  // of a compressed stream it can follow
  cups_raster_t* raster_ = nullptr;
};

#endif
