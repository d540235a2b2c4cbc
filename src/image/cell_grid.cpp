#include "image/cell_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

CellGrid GridOf(int width, int height, int factor, int cellWidth, int cellHeight) {
  CellGrid grid;
  grid.cellWidth = int64_t{factor} * cellWidth;
  grid.cellHeight = int64_t{factor} * cellHeight;
  grid.cols = static_cast<int>(std::ceil(static_cast<double>(width) / grid.cellWidth));
  grid.rows = static_cast<int>(std::ceil(static_cast<double>(height) / grid.cellHeight));
  return grid;
}

CellSampling::CellSampling(int width, int height, int cols, int rows)
    : height_(height),
      cols_(cols),
      scaleY_(static_cast<double>(height) / rows),
      sameRows_(rows == height),
      sameColumns_(cols == width) {
  if (sameColumns_) return;
  const double scaleX = static_cast<double>(width) / cols;
  sourceColumn_.resize(cols);
  for (int c = 0; c < cols; ++c)
    sourceColumn_[c] = std::min(static_cast<int>(c * scaleX), width - 1);
}

int CellSampling::SourceRow(int r) const {
  return sameRows_ ? r : std::min(static_cast<int>(r * scaleY_), height_ - 1);
}

void CellSampling::ReduceRow(const unsigned char* in, unsigned char* out) const {
  if (sameColumns_) {
    std::memcpy(out, in, static_cast<size_t>(cols_));
    return;
  }
  for (int c = 0; c < cols_; ++c) out[c] = in[sourceColumn_[c]];
}

void ReplicateEdges(unsigned char* padded, size_t paddedStride, int cols, int rows) {
  for (int r = 0; r < rows; ++r) {
    unsigned char* row = padded + paddedStride * r;
    std::memset(row, row[kMargin], kMargin);
    std::memset(row + kMargin + cols, row[kMargin + cols - 1], kMargin);
  }
}

void ExpandCellRow(const unsigned char* cells, int64_t cellWidth, int width, unsigned char* out) {
  if (cellWidth == 1) {
    std::memcpy(out, cells, width);
    return;
  }
  int64_t x = 0;
  for (size_t c = 0; x < width; ++c) {
    const int64_t n = std::min<int64_t>(cellWidth, width - x);
    std::memset(out + x, cells[c], static_cast<size_t>(n));
    x += n;
  }
}
