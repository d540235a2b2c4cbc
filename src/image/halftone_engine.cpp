// The halftone engine. Screening runs on the reduced grid of cells only; the enlargement back
// to the full area is a plain copy, one expanded row per cell row.
#include "image/halftone_engine.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "core/raster_geometry.h"
#include "image/cell_grid.h"
#include "image/host_openmp.h"
#include "image/row_screens.h"
#include "patterns/compensation.h"

namespace {

using Raster = std::unique_ptr<unsigned char[]>;

// Scratch raster, deliberately not cleared: every byte read is written first.
Raster NewRaster(size_t bytes) {
  return Raster(new unsigned char[bytes]);
}

size_t Stride8Bytes(int64_t width) {
  return static_cast<size_t>(RowStride(width, 8));
}

// Reduce the image to one pixel per cell, writing the reduced rows reducedStride bytes apart.
void ReduceImage(const unsigned char* image, int width, int height, unsigned char* reduced,
                 size_t reducedStride, int cols, int rows) {
  const size_t stride = Stride8Bytes(width);
  const CellSampling sampling(width, height, cols, rows);
  for (int r = 0; r < rows; ++r)
    sampling.ReduceRow(image + stride * sampling.SourceRow(r), reduced + reducedStride * r);
}

// Draw the test pattern on the cell grid and copy its rows into the widened grid.
void DrawPattern(const ScreeningState& state, int pattern, int factor, int cols, int rows,
                 unsigned char* widenedMiddle, size_t paddedStride) {
  const size_t strideLow = Stride8Bytes(cols);
  Raster reduced = NewRaster(strideLow * rows);
  // Patterns may leave a few columns undrawn; those screen as paper white.
  std::memset(reduced.get(), 255, strideLow * rows);
  SetupCompensation(state, reduced.get(), cols, rows, pattern, factor);
  for (int r = 0; r < rows; ++r)
    std::memcpy(widenedMiddle + paddedStride * r, reduced.get() + strideLow * r, cols);
}

void ScreenPadded(const ScreeningState& state, const unsigned char* in, unsigned char* out,
                  int width, int height, int templateType) {
  const std::unique_ptr<RowScreen> screen = MakeRowScreen(state, templateType, width);
  if (screen->SetsHostThreads()) SetHostOpenMpThreads(2);
  const size_t stride = Stride8Bytes(width);
  for (int r = 0; r < height; ++r) screen->ScreenRow(in + stride * r, out + stride * r);
}

// Enlarge the screened cells (column kMargin + c of each padded row) over the intermediate
// raster: each pixel inside width x height is written once, the padding not at all.
void EnlargeCells(const unsigned char* padded, const CellGrid& grid, unsigned char* intermediate,
                  int width, int height) {
  const size_t stride = Stride8Bytes(width);
  const size_t stridePad = Stride8Bytes(int64_t{grid.cols} + 2 * kMargin);
  for (int r = 0; r < grid.rows; ++r) {
    const int64_t top = r * grid.cellHeight;
    const int64_t bottom = std::min<int64_t>(top + grid.cellHeight, height);
    unsigned char* first = intermediate + stride * top;
    ExpandCellRow(padded + stridePad * r + kMargin, grid.cellWidth, width, first);
    for (int64_t y = top + 1; y < bottom; ++y) std::memcpy(intermediate + stride * y, first, width);
  }
}

}  // namespace

void RunHalftoneEngine(const ScreeningState& state, unsigned char* intermediate, int width,
                       int height, int factor, int cellWidth, int cellHeight, int pattern,
                       int templateType) {
  const CellGrid grid = GridOf(width, height, factor, cellWidth, cellHeight);
  const int paddedWidth = grid.cols + 2 * kMargin;
  const size_t paddedStride = Stride8Bytes(paddedWidth);
  const size_t paddedBytes = paddedStride * grid.rows;
  // The cell grid is built straight into the middle of the widened grid. The caller's image
  // needs no pattern, so it is reduced there directly.
  Raster paddedIn = NewRaster(paddedBytes);
  if (pattern == kCallerImage)
    ReduceImage(intermediate, width, height, paddedIn.get() + kMargin, paddedStride, grid.cols,
                grid.rows);
  else
    DrawPattern(state, pattern, factor, grid.cols, grid.rows, paddedIn.get() + kMargin,
                paddedStride);
  ReplicateEdges(paddedIn.get(), paddedStride, grid.cols, grid.rows);

  Raster paddedOut = NewRaster(paddedBytes);
  ScreenPadded(state, paddedIn.get(), paddedOut.get(), paddedWidth, grid.rows, templateType);
  paddedIn.reset();
  EnlargeCells(paddedOut.get(), grid, intermediate, width, height);
}
