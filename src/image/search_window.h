// The rows the best screen is searching: a window that moves down the page. Rows enter at the
// bottom with the levels a start screen gave them; the search changes the levels of the active
// rows (toggles one drop level up or down, swaps the levels of two neighbours) while the change
// lowers the eye-filtered error; the top rows retire, stay as fixed context for the rows below
// them, and leave once the eye model no longer reaches from them to an active row.
//
// The search keeps c_ep = e * c_pp (e the halftone minus the image, in ink amounts) for every
// row of the window, updated with each change, so that a trial change costs a few operations:
// a level change d at m changes the error by d^2 c_pp[0] + 2 d c_ep[m]; a swap (d at m, -d at
// n) by 2 d^2 (c_pp[0] - c_pp[m - n]) + 2 d (c_ep[m] - c_ep[n]). Everything is integer, so the
// result is exact and the same whatever the machine.
//
// A level change makes a lone drop or a lone hole, which the eye model, reaching only kRadius
// pixels, sees as worse than a slightly wrong tone once drops lie further apart than it reaches:
// left to itself the search would empty highlights and fill shadows. So a pixel may change its
// level only where its amount lies clear of the two inks it falls between, by the share
// c_pp[0] / sum(c_pp) of their difference (the drop density the model still holds together);
// nearer to an ink the search only swaps, which keeps the start screen's tone.
//
// The mid-tone and end-tone eyes (eye_correlation.h) add two more terms to the error, the error
// weighted per pixel by each eye's weight and filtered by its c_pp, kept up to date the same way
// (weighted_term.h). Those terms see zero error outside the page on every side.
//
// Beyond the page's sides and bottom the error is taken as zero: the eye sees paper laid as asked
// for. Above the page's top the eye sees the top rows continued upward as their mirror image
// (row -1 - y holds row y's error): a top row then has neighbours on both sides as inside the
// page, and a band of wrong tone or a texture that only suits an edge costs there what it costs
// anywhere else (with zero error above, the top rows of light flat greys drifted 2.4 to 2.7
// points off their tone). A top row full of ink doubles into a thick line, so the edge row keeps
// its own tone, which a mirror about row 0 itself would not. So a change at a pixel within
// kRadius of the top also changes c_ep through its mirror image, and its gain holds the terms
// between the pixel and the images.
//
// Pixels are visited in kTile x kTile tiles, tile rows top to bottom, each tile's pixels row by
// row; a tile is visited again only after a change or an entering row has come within reach of it
// (the eye model's radius plus the swap's reach), which skips exactly the visits that
// would find nothing.
#ifndef KORVEL_IMAGE_SEARCH_WINDOW_H
#define KORVEL_IMAGE_SEARCH_WINDOW_H

#include <cstdint>
#include <vector>

#include "image/eye_correlation.h"
#include "image/own_screen.h"
#include "image/weighted_term.h"

class SearchWindow {
 public:
  static constexpr int kTile = 16;
  static constexpr int kReach = EyeCorrelation::kRadius;  // context rows above the active rows
  static constexpr int kSwapReach = 1;  // swaps with the pixels up to this far in x and y
  static constexpr int kSwapSide = 2 * kSwapReach + 1;
  static_assert(kReach + kSwapReach <= kTile, "a change must reach no further than the next tile");

  // A window over a page `width` wide holding up to maxActive active rows (a multiple of
  // kTile); a search stops after maxSweeps sweeps over the window's tiles.
  SearchWindow(int width, const DropSet& drops, const EyeCorrelation& eye, int maxActive,
               int maxSweeps, const MidToneEye& midTone, const EndToneEye& endTone);

  // The next page row enters below the active rows: its amounts 0..kFullAmount and the levels
  // a start screen gave it. Paper (amount 0) gets level 0 and full ink the largest level,
  // whatever the start screen gave, and keep them. At most maxActive rows may be active.
  void EnterRow(const uint16_t* amounts, const uint8_t* levels);

  // Search the active rows until no change lowers the error or maxSweeps sweeps are done.
  void Search();

  int ActiveRows() const { return entered_ - firstActive_; }
  // The levels of active row i (0 the top one), width bytes.
  const uint8_t* ActiveLevels(int i) const;
  // The top `rows` active rows (a multiple of kTile, or all of them) become fixed context.
  void Retire(int rows);

  // For checks: c_ep at active row i, column x; a level change there (the error's change it
  // would make, and making it); the same for a swap with the neighbour (dx, dy), |dx|, |dy| <= 1.
  int32_t ErrorCorrelation(int i, int x) const;
  int32_t MidToneCorrelation(int i, int x) const;  // c_wp of the mid-tone eye
  int32_t EndToneCorrelation(int i, int x) const;  // c_wp of the end-tone eye
  int64_t TrialLevel(int i, int x, int level) const;
  void SetLevel(int i, int x, int level);
  int64_t TrialSwap(int i, int x, int dx, int dy) const;
  // Whether a pixel of this amount may change its level (else only swap).
  bool MayChangeLevel(int amount) const;

 private:
  struct Change {
    int64_t gain = 0;  // the error's change, negative when it helps
    int partner = 0;   // 0 for a level change, else the swap partner's index offset
    int level = 0;     // the new level at the pixel (level changes)
  };
  // Per top row y < kRadius: the gain's mirror terms over d^2, c_pp(0, 2y + 1) for a level
  // change, and c_pp(0, 2y + 1) + c_pp(0, 2v + 1) - 2 c_pp(dx, y + v + 1) for a swap with the
  // pixel (dx, v = y + dy).
  struct MirrorTerms {
    int64_t level;
    int64_t swap[kSwapSide * kSwapSide];
  };

  size_t Index(int bufferRow, int x) const {
    return static_cast<size_t>(bufferRow) * stride_ + static_cast<size_t>(x + kReach);
  }
  void BuildChangeTables(const DropSet& drops, const EyeCorrelation& eye);
  void BuildMirrorTerms(const EyeCorrelation& eye);
  void ScatterRowError(int bufferRow, const int32_t* error);
  void AddCorrelation(size_t index, int from, int to);
  void AddMirrorCorrelation(size_t index, int from, int to);
  // The weighted terms' gains; terms: the kMidTone and kEndTone bits of the pixels involved.
  int64_t WeightedLevelGain(size_t index, int pair, int terms) const;
  int64_t WeightedSwapGain(size_t index, size_t other, int partner, int pair, int terms) const;
  void ApplyLevel(size_t index, int level);
  void ApplySwap(size_t index, int partner);
  // The page row of a buffer row, and its mirror terms (nullptr for rows the mirror misses).
  int PageRow(size_t index) const {
    return firstActive_ + static_cast<int>(index / stride_) - kReach;
  }
  const MirrorTerms* MirrorTermsAt(size_t index) const;
  Change BestChangeAt(size_t index) const;
  bool VisitTile(int tileRow, int tileColumn);
  void MarkAround(size_t index);
  void MarkRowsAbove(int bufferRow);

  int width_, stride_, levels_, maxSweeps_, bufferRows_;
  int tileColumns_, tileRows_;
  int firstActive_ = 0, entered_ = 0;  // page rows
  const EyeCorrelation& eye_;
  int32_t ink_[4];
  // Per ordered level pair (from * 4 + to): (ink[to] - ink[from]) * c_pp over the eye's square.
  std::vector<int32_t> changeTables_;
  int64_t levelGain_[16];     // d^2 c_pp[0] of a level change from -> to
  int64_t squaredDelta_[16];  // d^2
  int64_t twiceDelta_[16];    // 2 d
  // 2 d^2 (c_pp[0] - c_pp[offset]) per swap partner's offset, and the offsets' index steps
  // (the middle entry, the pixel itself, unused)
  int64_t swapGain_[kSwapSide * kSwapSide][16];
  int neighbour_[kSwapSide * kSwapSide];
  MirrorTerms mirror_[EyeCorrelation::kRadius];  // by top row
  // The window, rows kReach context, maxActive active, kReach below (the eye's reach of rows
  // that have not entered yet), each row kReach + width + kReach wide.
  std::vector<int32_t> correlation_;
  std::vector<uint8_t> level_;
  // Per pixel: bit l set when the pixel may hold level l, kMayChange when it may change its
  // level (not only swap). Rows above the active ones and outside the page allow their level
  // alone.
  std::vector<uint8_t> allowed_;
  static constexpr uint8_t kMayChange = 0x80;
  int64_t correlationSum_;                     // sum of c_pp
  int tapReach_[EyeCorrelation::kRadius + 1];  // per row dy >= 0: the largest dx with c_pp != 0
  WeightedTerm<MidToneEye> midTone_;
  WeightedTerm<EndToneEye> endTone_;
  std::vector<uint8_t> weighted_;  // per pixel: kMidTone, kEndTone where that term weighs it
  static constexpr uint8_t kMidTone = 1, kEndTone = 2;
  std::vector<uint8_t> dirty_;        // tiles of the active rows to visit again
  std::vector<int32_t> rowError_;     // scratch: the entering row's error
  std::vector<int32_t> rowFiltered_;  // scratch: its horizontal filterings
};

#endif
