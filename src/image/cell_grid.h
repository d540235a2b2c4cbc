// The grid of cells that the halftone engine screens as one pixel each: how the area divides
// into cells, which image pixel each cell samples, and the widening and enlargement of the
// screened rows.
#ifndef KORVEL_IMAGE_CELL_GRID_H
#define KORVEL_IMAGE_CELL_GRID_H

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kMargin = 10;  // replicated pixels on each side of a screened row

// Cell size in pixels (64-bit, the products may exceed an int) and the number of cells across
// and down.
struct CellGrid {
  int64_t cellWidth;
  int64_t cellHeight;
  int cols;
  int rows;
};

CellGrid GridOf(int width, int height, int factor, int cellWidth, int cellHeight);

// Nearest-neighbour sampling of the image on the cell grid: reduced pixel (r, c) is image
// pixel (r x height / rows, c x width / cols), the products truncated. On a whole-pixel grid
// that is the image itself. SourceRow rises strictly with r and never passes r x cellHeight.
class CellSampling {
 public:
  CellSampling(int width, int height, int cols, int rows);

  int SourceRow(int r) const;
  // Write the cols reduced pixels of one image row.
  void ReduceRow(const unsigned char* in, unsigned char* out) const;

 private:
  int height_;
  int cols_;
  double scaleY_;
  bool sameRows_;
  bool sameColumns_;
  std::vector<int> sourceColumn_;
};

// Widen every row by kMargin copies of its first pixel on the left and of its last on the
// right, so that the screens start up and run out outside the area that is kept.
void ReplicateEdges(unsigned char* padded, size_t paddedStride, int cols, int rows);

// Expand one row of screened cells to width pixels, cellWidth pixels per cell, clipped.
void ExpandCellRow(const unsigned char* cells, int64_t cellWidth, int width, unsigned char* out);

#endif
