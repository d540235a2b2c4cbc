// The fine screen: a serpentine error diffusion whose decision and whose error weights depend
// on the pixel's tone (trained, see fine_screen_tones.h), and so does a pseudo-random shake of
// the decision that keeps flat greys from settling into lattices and stripes. The error gathered at
// a pixel sways its decision more than it does in textbook diffusion, which takes away the edge
// sharpening textbook diffusion adds, so that the halftone seen from afar is closer to the picture.
// Errors are integers, each error's shares add up to it exactly (the tone is kept), and what
// falls off either side of the page is dropped.
#include <algorithm>
#include <climits>
#include <vector>

#include "image/fine_pixel_rules.h"
#include "image/fine_screen.h"

namespace {

class FineScreen final : public OwnScreen {
 public:
  FineScreen(int width, const DropSet& drops, const FineTones& tones)
      : width_(width),
        rules_(FinePixelRules(drops, tones)),
        current_(static_cast<size_t>(width) + 2),
        next_(current_.size()),
        out_(static_cast<size_t>(width)) {
    for (int level = 0; level < 4; ++level) {
      ink_[level] = level < drops.levels ? drops.ink[level] * kFineErrorScale : 0;
      threshold_[level] = level == 0 || level >= drops.levels
                              ? INT32_MAX
                              : (drops.ink[level - 1] + drops.ink[level]) * kFineErrorScale / 2;
    }
  }

  int Delay() const override { return 0; }

  void TakeRow(const uint16_t* amounts) override {
    if (row_ == 0) WarmUp(amounts);
    DiffuseRowInTurn(amounts);
    ++row_;
    ready_ = true;
  }

  bool GiveRow(uint8_t* levels) override {
    if (!ready_) return false;
    std::copy(out_.begin(), out_.end(), levels);
    ready_ = false;
    return true;
  }

 private:
  // The warm-up's first errors: spread evenly over each pixel's start spread by steps of the
  // golden ratio, which keeps neighbours apart (no clumps), so that the warm-up starts near
  // where it is going.
  void SeedFirstRow(const uint16_t* amounts) {
    uint32_t state = kFirstRowSeed;
    for (int x = 0; x < width_; ++x) {
      state += kGoldenStep;
      const int64_t even = static_cast<int64_t>(state >> 16) - 32768;
      current_[x + 1] = static_cast<int32_t>((even * rules_[amounts[x]].startSpread) >> 16);
    }
  }

  // Before the page's first row the screen runs over that row kWarmUpRows times, its output
  // thrown away, so that the page starts with the errors of a screen that has run for long:
  // no band of too much or too little ink at the top. Only the first row is read, so a page
  // taken in bands gives what the whole page gives.
  void WarmUp(const uint16_t* firstRow) {
    SeedFirstRow(firstRow);
    for (int i = 0; i < kWarmUpRows; ++i) DiffuseRowInTurn(firstRow);
  }

  // Even rows (counting the warm-up's) left to right, odd rows right to left.
  void DiffuseRowInTurn(const uint16_t* amounts) {
    const uint32_t shake = ShakeSeed(walked_);
    if ((walked_++ & 1) == 0) {
      DiffuseRow(amounts, 0, 1, shake);
    } else {
      DiffuseRow(amounts, width_ - 1, -1, shake);
    }
    current_.swap(next_);
    std::fill(next_.begin(), next_.end(), 0);
  }

  // The shake's sequence of a row starts from its number (the warm-up's rows counted) mixed
  // well, so that no two rows' sequences line up.
  static uint32_t ShakeSeed(uint32_t walked) {
    uint32_t h = walked * kGoldenStep + kShakeSeed;
    h = (h ^ (h >> 16)) * 0x85EBCA6B;
    h = (h ^ (h >> 13)) * 0xC2B2AE35;
    return h ^ (h >> 16);
  }

  // One row from column `first` in direction `step`; column x's error lives at x + 1. The
  // shake's sequence steps once a pixel in the order walked (a linear congruential generator;
  // its upper 16 bits, centred, scale the pixel's shake span).
  void DiffuseRow(const uint16_t* amounts, int first, int step, uint32_t shake) {
    int32_t* current = current_.data() + 1;
    int32_t* next = next_.data() + 1;
    const FinePixelRule* rules = rules_.data();
    for (int i = 0, x = first; i < width_; ++i, x += step) {
      const int amount = amounts[x];
      const FinePixelRule& rule = rules[amount];
      const int32_t gathered = current[x];
      const int32_t wanted = amount * kFineErrorScale;
      shake = shake * kShakeMultiplier + kShakeIncrement;
      const int64_t offset = static_cast<int64_t>(static_cast<int32_t>(shake >> 16) - 32768);
      const int32_t swayed = wanted + ((rule.errorGain * gathered) >> kFineGainBits) +
                             static_cast<int32_t>((offset * rule.shakeSpan) >> 16);
      const int level =
          (swayed >= threshold_[1]) + (swayed >= threshold_[2]) + (swayed >= threshold_[3]);
      out_[x] = static_cast<uint8_t>(level);
      const int32_t error = (wanted + gathered - ink_[level]) & rule.keep;
      const int32_t ahead = (error * rule.ahead) >> kFineShareBits;
      const int32_t belowBehind = (error * rule.belowBehind) >> kFineShareBits;
      const int32_t below = (error * rule.below) >> kFineShareBits;
      current[x + step] += ahead;
      next[x - step] += belowBehind;
      next[x] += below;
      next[x + step] += error - ahead - belowBehind - below;
    }
  }

  static constexpr int kWarmUpRows = 32;
  static constexpr uint32_t kFirstRowSeed = 0x6B6F7276;
  static constexpr uint32_t kGoldenStep = 0x9E3779B9;  // 2^32 / golden ratio
  static constexpr uint32_t kShakeSeed = 0x7368616B;
  static constexpr uint32_t kShakeMultiplier = 1664525, kShakeIncrement = 1013904223;

  int width_;
  std::vector<FinePixelRule> rules_;
  int32_t ink_[4];
  int32_t threshold_[4];  // [level] the least swayed amount that lays it; [0] unused
  std::vector<int32_t> current_, next_;
  std::vector<uint8_t> out_;
  int row_ = 0;     // page rows taken
  int walked_ = 0;  // rows diffused, the warm-up's among them
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<OwnScreen> MakeFineScreenWith(int width, const DropSet& drops,
                                              const FineTones& tones) {
  return std::make_unique<FineScreen>(width, drops, tones);
}
