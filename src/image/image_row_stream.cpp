#include "image/image_row_stream.h"

#include <cstring>

#include "core/raster_geometry.h"
#include "image/host_openmp.h"
#include "image/image_packing.h"

namespace {

size_t Stride8Bytes(int64_t width) {
  return static_cast<size_t>(RowStride(width, 8));
}

}  // namespace

ImageRowStream::ImageRowStream(const ScreeningState& state, int templateType, int bitsPerPixel,
                               int width, int height, int factor, int cellWidth, int cellHeight)
    : ImageRowStream(nullptr, bitsPerPixel, width, height,
                     GridOf(width, height, factor, cellWidth, cellHeight), kMargin) {
  screen_ = MakeRowScreen(state, templateType, grid_.cols + 2 * kMargin);
}

std::unique_ptr<ImageRowStream> ImageRowStream::DotScreenOnImage(int templateType, int width,
                                                                 int height) {
  std::unique_ptr<ImageRowStream> stream(new ImageRowStream(
      MakeDotRowScreen(templateType, width), 2, width, height, GridOf(width, height, 1, 1, 1), 0));
  stream->outputRowBytes_ = static_cast<size_t>((width - 1) / 4 + 1);
  return stream;
}

ImageRowStream::ImageRowStream(std::unique_ptr<RowScreen> screen, int bitsPerPixel, int width,
                               int height, const CellGrid& grid, int margin)
    : screen_(std::move(screen)),
      bits_(bitsPerPixel),
      width_(width),
      height_(height),
      grid_(grid),
      sampling_(width, height, grid.cols, grid.rows),
      margin_(margin),
      outputRowBytes_(static_cast<size_t>(RowStride(width, bitsPerPixel))),
      padded_(Stride8Bytes(int64_t{grid.cols} + 2 * margin)),
      screened_(padded_.size()),
      enlarged_(bitsPerPixel == 1 && grid.cellWidth != 1 ? static_cast<size_t>(width) : 0) {
  const size_t kept = bits_ == 1 ? outputRowBytes_ : Stride8Bytes(width);
  keptCells_[0].resize(kept);
  keptCells_[1].resize(kept);
  if (bits_ == 2) BuildPackTables();
}

void ImageRowStream::BeginBand() const {
  if (screen_->SetsHostThreads()) SetHostOpenMpThreads(2);
}

const unsigned char* ImageRowStream::ScreenCellRow(const unsigned char* imageRow) {
  ++nextCellRow_;
  if (margin_ == 0) {
    screen_->ScreenRow(imageRow, screened_.data());
    return screened_.data();
  }
  sampling_.ReduceRow(imageRow, padded_.data() + margin_);
  ReplicateEdges(padded_.data(), 0, grid_.cols, 1);
  screen_->ScreenRow(padded_.data(), screened_.data());
  return screened_.data() + margin_;
}

const unsigned char* ImageRowStream::Enlarged(const unsigned char* levels) {
  if (grid_.cellWidth == 1) return levels;
  ExpandCellRow(levels, grid_.cellWidth, width_, enlarged_.data());
  return enlarged_.data();
}

void ImageRowStream::WriteRow(const unsigned char* imageRow, std::vector<unsigned char>& kept,
                              unsigned char* outputRow) const {
  if (bits_ == 1) {
    std::memcpy(outputRow, kept.data(), outputRowBytes_);
    return;
  }
  // The last byte packs whole groups of four: past the width the 8-bit raster of the whole
  // image holds the image row's own padding.
  std::memcpy(kept.data() + width_, imageRow + width_, kept.size() - width_);
  PackTwoBitRow(kept.data(), width_, outputRow);
  const size_t packed = static_cast<size_t>((width_ - 1) / 4 + 1);
  std::memset(outputRow + packed, 0, outputRowBytes_ - packed);
}

void ImageRowStream::NextRow(const unsigned char* imageRow, unsigned char* outputRow) {
  const int y = nextRow_++;
  if (nextCellRow_ < grid_.rows && sampling_.SourceRow(nextCellRow_) == y) {
    const unsigned char* levels = ScreenCellRow(imageRow);
    if (margin_ == 0) {
      // The dot screen straight on the image: its row, padding included, is the output's.
      PackTwoBitRow(levels, width_, outputRow);
      return;
    }
    if (bits_ == 1 && grid_.cellHeight == 1) {
      // One image row per cell row: pack straight into the output.
      PackOneBitRow(Enlarged(levels), width_, outputRow);
      return;
    }
    std::vector<unsigned char>& kept = keptCells_[(nextCellRow_ - 1) & 1];
    if (bits_ == 1)
      PackOneBitRow(Enlarged(levels), width_, kept.data());
    else
      ExpandCellRow(levels, grid_.cellWidth, width_, kept.data());
  }
  const int64_t cellRow = y / grid_.cellHeight;
  WriteRow(imageRow, keptCells_[cellRow & 1], outputRow);
}
