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
#include "image/dot_ditherers.h"
#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_screen.h"
#include "image/image_packing.h"
#include "image/template_types.h"
#include "image/threshold_matrices.h"
#include "patterns/compensation.h"
#include "template/template_generators.h"

namespace {

constexpr int kMargin = 10;              // replicated pixels on each side of a screened row
constexpr uint32_t kMatrixOffset = 321;  // starts the 257 matrix at row and column 64

using Raster = std::unique_ptr<unsigned char[]>;

// Scratch raster, deliberately not cleared: every byte read is written first.
Raster NewRaster(size_t bytes) {
  return Raster(new unsigned char[bytes]);
}

size_t Stride8Bytes(int64_t width) {
  return static_cast<size_t>(RowStride(width, 8));
}

// The cell grid: cell size in pixels (64-bit, the products may exceed an int) and the number
// of cells across and down.
struct CellGrid {
  int64_t cellWidth;
  int64_t cellHeight;
  int cols;
  int rows;
};

CellGrid GridOf(int width, int height, int factor, int cellWidth, int cellHeight) {
  CellGrid grid;
  grid.cellWidth = int64_t{factor} * cellWidth;
  grid.cellHeight = int64_t{factor} * cellHeight;
  grid.cols = static_cast<int>(std::ceil(static_cast<double>(width) / grid.cellWidth));
  grid.rows = static_cast<int>(std::ceil(static_cast<double>(height) / grid.cellHeight));
  return grid;
}

// Nearest-neighbour sampling of the image on the cell grid: reduced pixel (r, c) is image
// pixel (r x height / rows, c x width / cols), the products truncated. On a whole-pixel grid
// that is the image itself.
class CellSampling {
 public:
  CellSampling(int width, int height, int cols, int rows)
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

  int SourceRow(int r) const {
    return sameRows_ ? r : std::min(static_cast<int>(r * scaleY_), height_ - 1);
  }

  // Write the cols reduced pixels of one image row.
  void ReduceRow(const unsigned char* in, unsigned char* out) const {
    if (sameColumns_) {
      std::memcpy(out, in, static_cast<size_t>(cols_));
      return;
    }
    for (int c = 0; c < cols_; ++c) out[c] = in[sourceColumn_[c]];
  }

 private:
  int height_;
  int cols_;
  double scaleY_;
  bool sameRows_;
  bool sameColumns_;
  std::vector<int> sourceColumn_;
};

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

// Widen every row by kMargin copies of its first pixel on the left and of its last on the
// right, so that the screens start up and run out outside the area that is kept.
void ReplicateEdges(unsigned char* padded, size_t paddedStride, int cols, int rows) {
  for (int r = 0; r < rows; ++r) {
    unsigned char* row = padded + paddedStride * r;
    std::memset(row, row[kMargin], kMargin);
    std::memset(row + kMargin + cols, row[kMargin + cols - 1], kMargin);
  }
}

void ScreenPadded(const ScreeningState& state, const unsigned char* in, unsigned char* out,
                  int width, int height, int templateType) {
  if (state.useTemplateDiffusion) {
    GetDiffusedImageData_8Bit(state, in, out, width, height);
    return;
  }
  if (ScreenWithDotDitherer(templateType, in, out, width, height)) return;
  if (templateType == kMatrixType) {
    CDitherBase(g_thresholdMatrix257, 0, kMatrixOffset, 1).Dither(in, out, width, height);
    return;
  }
  RunErrorDiffusionScreen(state, in, out, width, height);
}

// Expand one row of screened cells to width pixels, cellWidth pixels per cell, clipped.
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

void ScreenImageToOneBit(const ScreeningState& state, const unsigned char* source,
                         unsigned char* output, int width, int height, int factor, int cellWidth,
                         int cellHeight) {
  const CellGrid grid = GridOf(width, height, factor, cellWidth, cellHeight);
  const int paddedWidth = grid.cols + 2 * kMargin;
  const CellSampling sampling(width, height, grid.cols, grid.rows);
  const size_t stride = Stride8Bytes(width);
  const size_t strideOut = static_cast<size_t>(RowStride(width, 1));
  std::vector<unsigned char> paddedIn(Stride8Bytes(paddedWidth));
  std::vector<unsigned char> screened(paddedIn.size());
  std::vector<unsigned char> enlarged(grid.cellWidth == 1 ? 0 : stride);
  // The same diffusion, fed the same widened rows in the same order, as the whole-raster
  // screen of RunHalftoneEngine.
  ImageErrorDiffusion diffusion(paddedWidth, state.toneCurve);
  for (int r = 0; r < grid.rows; ++r) {
    sampling.ReduceRow(source + stride * sampling.SourceRow(r), paddedIn.data() + kMargin);
    ReplicateEdges(paddedIn.data(), 0, grid.cols, 1);
    diffusion.DiffuseRow(r, paddedIn.data(), screened.data());
    const unsigned char* levels = screened.data() + kMargin;
    if (grid.cellWidth != 1) {
      ExpandCellRow(levels, grid.cellWidth, width, enlarged.data());
      levels = enlarged.data();
    }
    const int64_t top = r * grid.cellHeight;
    const int64_t bottom = std::min<int64_t>(top + grid.cellHeight, height);
    unsigned char* first = output + strideOut * top;
    PackOneBitRow(levels, width, first);
    for (int64_t y = top + 1; y < bottom; ++y)
      std::memcpy(output + strideOut * y, first, strideOut);
  }
}
