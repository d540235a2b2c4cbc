// The trained knobs of the fine screen. Where a pixel's amount lies between the inks of two
// neighbouring drop levels, its place in that gap (0 at either ink, 1/2 half way) picks how the
// screen decides, how much it shakes its decision and how it passes its error on, by linear
// interpolation between nodes at evenly spaced places 0, 1/16, .., 8/16 of the gap. Being relative
// to the gap, the same nodes serve any drop inks; one bit and three drops have nodes of their own.
#ifndef KORVEL_IMAGE_FINE_SCREEN_TONES_H
#define KORVEL_IMAGE_FINE_SCREEN_TONES_H

#include <cstdint>

constexpr int kFineShakeUnit = 64;  // FineNode::shake is in 1/kFineShakeUnit of the gap

struct FineNode {
  // How strongly the error gathered at a pixel sways its decision, in 1/64: the decision
  // compares amount + errorGain / 64 * error against the half-way points of the inks (64 is
  // textbook diffusion; more undoes the sharpening a plain diffusion adds to edges).
  int32_t errorGain;
  // Shares of the error passed to the next pixel ahead, and behind, below and ahead on the
  // next row (in the order of the row being walked); relative to their sum.
  int32_t ahead, belowBehind, below, belowAhead;
  // How far the decision is shaken, in 1/kFineShakeUnit of the gap between the inks around the
  // amount (from lowest to highest offset): a pseudo-random offset added to the swayed amount
  // breaks the lattices and stripes diffusion settles into at greys near simple fractions of the
  // gap. The diffusion passes the error of each decision on, so the offset's noise is pushed to
  // high frequencies like the rest of the error.
  int32_t shake;
};

constexpr int kFineNodeCount = 9;

struct FineTones {
  FineNode nodes[kFineNodeCount];
};

// The trained nodes: one drop, and three drops (trained at inks 1/3 and 2/3).
extern const FineTones kFineTonesOneBit;
extern const FineTones kFineTonesThreeDrops;

#endif
