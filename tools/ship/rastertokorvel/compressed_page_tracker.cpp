#include "compressed_page_tracker.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr uint64_t kMostRunPixels = 128;
constexpr uint64_t kMostGroupLines = 256;

uint32_t Swapped(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

uint64_t DividedUp(uint64_t value, uint64_t by) {
  return (value + by - 1) / by;
}

}  // namespace

uint32_t CompressedPageTracker::HeaderField(size_t offset) const {
  uint32_t value;
  std::memcpy(&value, header_ + offset, sizeof value);
  return swapped_ ? Swapped(value) : value;
}

// The numbers libcups reads a page by: bytes per line, bytes of a pixel in a run (a whole pixel
// of chunked data, one colour otherwise) and the lines (every colour's of a planar page).
void CompressedPageTracker::StartPage() {
  using H = cups_page_header2_t;
  const uint32_t order = HeaderField(offsetof(H, cupsColorOrder));
  const uint32_t bits = HeaderField(order == CUPS_ORDER_CHUNKED ? offsetof(H, cupsBitsPerPixel)
                                                                : offsetof(H, cupsBitsPerColor));
  bytesPerLine_ = HeaderField(offsetof(H, cupsBytesPerLine));
  pixelBytes_ = std::max<uint64_t>(1, (uint64_t{bits} + 7) / 8);
  linesLeft_ = HeaderField(offsetof(H, cupsHeight));
  if (order == CUPS_ORDER_PLANAR) linesLeft_ *= HeaderField(offsetof(H, cupsNumColors));
  headerBytes_ = 0;
  // A page libcups would refuse, or one this reading cannot follow: byte by byte from here on.
  const bool followable = bytesPerLine_ > 0 && linesLeft_ > 0 && bytesPerLine_ % pixelBytes_ == 0;
  state_ = followable ? State::kLineRepeat : State::kLost;
}

void CompressedPageTracker::StartRun(unsigned char run) {
  if (run & 0x80) {
    elementLeft_ = std::min(uint64_t{257u - run} * pixelBytes_, lineBytesLeft_);
    lineBytesLeft_ -= elementLeft_;
    state_ = State::kLiteral;
  } else {
    lineBytesLeft_ -= std::min(uint64_t{run + 1u} * pixelBytes_, lineBytesLeft_);
    elementLeft_ = pixelBytes_;
    state_ = State::kRepeatedPixel;
  }
}

// After a run: the next run of the line, the next group, or the next page's header.
void CompressedPageTracker::EndElement() {
  if (lineBytesLeft_ > 0) {
    state_ = State::kRunByte;
  } else if (linesLeft_ > 0) {
    state_ = State::kLineRepeat;
  } else {
    state_ = State::kHeader;
    headerBytes_ = 0;
  }
}

// Consumes bytes of the current element; returns how many.
size_t CompressedPageTracker::Step(const unsigned char* bytes, size_t count) {
  switch (state_) {
    case State::kHeader: {
      const size_t taken = std::min(count, sizeof header_ - headerBytes_);
      std::memcpy(header_ + headerBytes_, bytes, taken);
      headerBytes_ += taken;
      if (headerBytes_ == sizeof header_) StartPage();
      return taken;
    }
    case State::kLineRepeat:
      linesLeft_ -= std::min<uint64_t>(uint64_t{bytes[0]} + 1, linesLeft_);
      lineBytesLeft_ = bytesPerLine_;
      state_ = State::kRunByte;
      return 1;
    case State::kRunByte:
      StartRun(bytes[0]);
      return 1;
    case State::kLiteral:
    case State::kRepeatedPixel: {
      const size_t taken = static_cast<size_t>(std::min<uint64_t>(count, elementLeft_));
      elementLeft_ -= taken;
      if (elementLeft_ == 0) EndElement();
      return taken;
    }
    case State::kLost:
      return count;
  }
  return count;
}

void CompressedPageTracker::Pass(const unsigned char* bytes, size_t count) {
  while (count > 0) {
    const size_t taken = Step(bytes, count);
    bytes += taken;
    count -= taken;
  }
}

// A line of n bytes takes at least one run byte and one pixel for every 128 pixels.
size_t CompressedPageTracker::FewestBytesForLine(uint64_t lineBytes) const {
  return static_cast<size_t>(DividedUp(lineBytes, kMostRunPixels * pixelBytes_) *
                             (1 + pixelBytes_));
}

// The fewest bytes the page's lines after the current group can take: 256 lines at most to a
// group of one repeat byte and one line.
uint64_t CompressedPageTracker::FewestBytesForRestOfPage() const {
  return DividedUp(linesLeft_, kMostGroupLines) * (1 + FewestBytesForLine(bytesPerLine_));
}

size_t CompressedPageTracker::BytesCertainlyInPage() const {
  uint64_t bytes = 1;
  switch (state_) {
    case State::kHeader:
      bytes = sizeof header_ - headerBytes_;
      break;
    case State::kLineRepeat:
      bytes = DividedUp(linesLeft_, kMostGroupLines) * (1 + FewestBytesForLine(bytesPerLine_));
      break;
    case State::kRunByte:
      bytes = FewestBytesForLine(lineBytesLeft_) + FewestBytesForRestOfPage();
      break;
    case State::kLiteral:
    case State::kRepeatedPixel:
      bytes = elementLeft_ + FewestBytesForLine(lineBytesLeft_) + FewestBytesForRestOfPage();
      break;
    case State::kLost:
      break;
  }
  return static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(bytes, 1), SIZE_MAX));
}
