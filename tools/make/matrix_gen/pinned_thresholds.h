// A blue-noise threshold matrix on a square torus with some entries fixed in advance: the
// void-and-cluster rank order is turned and shifted so that the fixed entries need as little
// change as possible, and each remaining one is fixed by exchanging ranks with the nearest pixel
// that holds the wanted threshold.
#ifndef KORVEL_TOOLS_MATRIX_GEN_PINNED_THRESHOLDS_H
#define KORVEL_TOOLS_MATRIX_GEN_PINNED_THRESHOLDS_H

#include <cstdint>
#include <vector>

#include "bluenoise/void_and_cluster.h"

// An entry of the matrix whose threshold is given.
struct PinnedEntry {
  int x, y;
  int32_t threshold;
};

// What the placement did, for the generator's report.
struct PinReport {
  int symmetry = 0;            // 0..7: which of the square's turns and mirrors was applied
  int shiftX = 0, shiftY = 0;  // torus shift applied after it
  int exchanges = 0;           // pinned entries fixed by a rank exchange
  double meanDistance = 0.0;   // mean distance of those exchanges, in pixels
  int levelsCrossed = 0;       // sum over the exchanges of the threshold levels between
};

// Row-major thresholds of a side x side matrix: the void-and-cluster ranks of seed mapped to
// values with the given counts (ascending values to ascending ranks), with every pinned entry
// holding its threshold. Empty when the counts do not fit or a pin cannot be honoured.
std::vector<int32_t> PinnedBlueNoiseThresholds(int side, uint32_t seed,
                                               const std::vector<ValueCount>& counts,
                                               const std::vector<PinnedEntry>& pins,
                                               PinReport* report);

#endif
