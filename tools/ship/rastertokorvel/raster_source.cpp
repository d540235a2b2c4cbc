#include "raster_source.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tool_error.h"

namespace {

constexpr size_t kChunkBytes = 64 * 1024;
// How long a wait for input goes before it looks at the stop request again. A signal that
// arrives on another thread of the filter does not interrupt the wait.
constexpr int kStopCheckMilliseconds = 100;
// libcups fills its buffer of a compressed raster with reads of at least this many bytes; the
// reads for a header or a run of pixels it needs are smaller.
constexpr size_t kSmallestBufferFill = 65536;

// The sync words of the compressed streams, in either byte order.
bool IsCompressedSync(const unsigned char* word) {
  static const char* const kCompressed[] = {"RaS2", "2SaR", "UNIR", "RINU"};
  return std::any_of(std::begin(kCompressed), std::end(kCompressed),
                     [&](const char* sync) { return std::memcmp(word, sync, 4) == 0; });
}

}  // namespace

RasterSource::RasterSource(int fd, std::function<bool()> stopRequested)
    : fd_(fd), stopRequested_(std::move(stopRequested)), chunk_(kChunkBytes) {
  raster_ = cupsRasterOpenIO(&RasterSource::ReadFor, this, CUPS_RASTER_READ);
  if (raster_ == nullptr && !stopRequested_()) {
    if (!readError_.empty()) throw ToolError("cannot read the raster: " + readError_);
    throw ToolError("the input is not CUPS raster");
  }
}

RasterSource::~RasterSource() {
  if (raster_ != nullptr) cupsRasterClose(raster_);
}

bool RasterSource::MoreFollows() {
  // Bytes libcups has taken beyond the last whole page are the start of the next one.
  if (tracker_ && !tracker_->Lost() && !tracker_->AtPageStart()) return true;
  return HasBytes();
}

ssize_t RasterSource::ReadFor(void* source, unsigned char* buffer, size_t length) {
  return static_cast<RasterSource*>(source)->Deliver(buffer, length);
}

// Returns 0, which libcups takes as the end of the input, at the end, on an error and on a stop
// request; a negative result for an interrupted read would be retried.
ssize_t RasterSource::Deliver(unsigned char* buffer, size_t length) {
  if (!HasBytes()) return 0;
  size_t count = std::min(length, end_ - position_);
  if (compressed_ && length >= kSmallestBufferFill)
    count = std::min(count, tracker_ ? tracker_->BytesCertainlyInPage() : 1);
  std::memcpy(buffer, chunk_.data() + position_, count);
  position_ += count;
  NoteSyncWord(buffer, count);
  return static_cast<ssize_t>(count);
}

// The first four bytes tell the format; the tracker follows every byte after them.
void RasterSource::NoteSyncWord(const unsigned char* bytes, size_t count) {
  size_t i = 0;
  for (; i < count && syncBytes_ < sizeof sync_; ++i) {
    sync_[syncBytes_++] = bytes[i];
    if (syncBytes_ < sizeof sync_) continue;
    compressed_ = IsCompressedSync(sync_);
    uint32_t sync;
    std::memcpy(&sync, sync_, sizeof sync);
    if (sync == CUPS_RASTER_SYNCv2 || sync == CUPS_RASTER_REVSYNCv2)
      tracker_.emplace(sync == CUPS_RASTER_REVSYNCv2);
  }
  if (tracker_) tracker_->Pass(bytes + i, count - i);
}

bool RasterSource::Fill() {
  while (!ended_ && WaitForInput()) {
    const ssize_t got = read(fd_, chunk_.data(), chunk_.size());
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got < 0) readError_ = std::strerror(errno);
    if (got <= 0) {
      ended_ = true;
      break;
    }
    position_ = 0;
    end_ = static_cast<size_t>(got);
    return true;
  }
  return false;
}

// True once the input can be read without waiting (its end included); false on a stop request.
bool RasterSource::WaitForInput() {
  for (;;) {
    if (stopRequested_()) return false;
    pollfd input{fd_, POLLIN, 0};
    const int ready = poll(&input, 1, kStopCheckMilliseconds);
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) {
      readError_ = std::strerror(errno);
      ended_ = true;
      return false;
    }
  }
}
