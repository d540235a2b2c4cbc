#include "image/image_row_stream.h"

#include <cstring>

#include "core/raster_geometry.h"
#include "image/image_packing.h"

OneBitImageStream::OneBitImageStream(const int32_t* toneCurve, int width, int height, int factor,
                                     int cellWidth, int cellHeight)
    : width_(width),
      height_(height),
      grid_(GridOf(width, height, factor, cellWidth, cellHeight)),
      sampling_(width, height, grid_.cols, grid_.rows),
      diffusion_(grid_.cols + 2 * kMargin, toneCurve),
      outputStride_(static_cast<size_t>(RowStride(width, 1))),
      padded_(static_cast<size_t>(RowStride(int64_t{grid_.cols} + 2 * kMargin, 8))),
      screened_(padded_.size()),
      enlarged_(grid_.cellWidth == 1 ? 0 : static_cast<size_t>(width)),
      packedCells_{std::vector<unsigned char>(outputStride_),
                   std::vector<unsigned char>(outputStride_)} {}

// The same diffusion, fed the same widened rows in the same order, as the whole-raster screen
// of RunHalftoneEngine.
void OneBitImageStream::ScreenCellRow(const unsigned char* imageRow, unsigned char* packed) {
  const int r = nextCellRow_++;
  sampling_.ReduceRow(imageRow, padded_.data() + kMargin);
  ReplicateEdges(padded_.data(), 0, grid_.cols, 1);
  diffusion_.DiffuseRow(r, padded_.data(), screened_.data());
  const unsigned char* levels = screened_.data() + kMargin;
  if (grid_.cellWidth != 1) {
    ExpandCellRow(levels, grid_.cellWidth, width_, enlarged_.data());
    levels = enlarged_.data();
  }
  PackOneBitRow(levels, width_, packed);
}

void OneBitImageStream::NextRow(const unsigned char* imageRow, unsigned char* outputRow) {
  const int y = nextRow_++;
  if (grid_.cellHeight == 1) {
    // One cell row per image row: pack straight into the output.
    ScreenCellRow(imageRow, outputRow);
    return;
  }
  if (nextCellRow_ < grid_.rows && sampling_.SourceRow(nextCellRow_) == y)
    ScreenCellRow(imageRow, packedCells_[nextCellRow_ & 1].data());
  const int64_t cellRow = y / grid_.cellHeight;
  std::memcpy(outputRow, packedCells_[cellRow & 1].data(), outputStride_);
}
