// Follows the pages of a compressed CUPS raster as its bytes pass on their way to libcups, to
// know how many of the coming bytes certainly belong to the page being read. libcups fills a
// buffer of its own from a compressed stream with as much as a read gives; given no more than
// the page certainly holds, it never takes a byte of the next page before the filter asks for
// it, so that "does a next page follow" stays a question about the bytes not yet handed over.
//
// The format: after the header, each group of lines is one byte (the line repeated byte + 1
// times) and one line of runs, a run being a byte b and then, for b < 128, one pixel repeated
// b + 1 times, else 257 - b literal pixels (pixels of bytesPerPixel bytes; a run is cut at the
// line's end). A page ends once its lines are given.
#ifndef KORVEL_FILTER_COMPRESSED_PAGE_TRACKER_H
#define KORVEL_FILTER_COMPRESSED_PAGE_TRACKER_H

#include <cups/raster.h>

#include <cstddef>
#include <cstdint>

class CompressedPageTracker {
 public:
  // `swapped`: the header's numbers are in the other byte order than this machine's.
  explicit CompressedPageTracker(bool swapped) : swapped_(swapped) {}

  // Notes bytes passed on to libcups, in stream order.
  void Pass(const unsigned char* bytes, size_t count);
  // How many of the next bytes certainly belong to the current page (its header included): at
  // least 1. 1 when the tracker cannot follow the stream (then libcups is given byte by byte).
  size_t BytesCertainlyInPage() const;
  // True when no byte after the last whole page has been passed on.
  bool AtPageStart() const { return state_ == State::kHeader && headerBytes_ == 0; }
  // True once a header was met that the tracker cannot follow.
  bool Lost() const { return state_ == State::kLost; }

 private:
  enum class State { kHeader, kLineRepeat, kRunByte, kLiteral, kRepeatedPixel, kLost };

  size_t Step(const unsigned char* bytes, size_t count);
  void StartPage();
  void StartRun(unsigned char run);
  void EndElement();
  uint32_t HeaderField(size_t offset) const;
  size_t FewestBytesForLine(uint64_t lineBytes) const;
  uint64_t FewestBytesForRestOfPage() const;

  bool swapped_;
  State state_ = State::kHeader;
  unsigned char header_[sizeof(cups_page_header2_t)] = {};
  size_t headerBytes_ = 0;
  uint64_t bytesPerLine_ = 0;
  uint64_t pixelBytes_ = 0;     // bytes of one pixel in a run
  uint64_t linesLeft_ = 0;      // lines of the page after the current group
  uint64_t lineBytesLeft_ = 0;  // bytes of the current line after the current run
  uint64_t elementLeft_ = 0;    // bytes left of the current literal or repeated pixel
};

#endif
