#include "image/fine_pixel_rules.h"

#include <algorithm>
#include <cmath>

namespace {

// The lower of the two levels whose inks are around the amount.
int LowerLevel(const DropSet& drops, int amount) {
  int level = 0;
  while (level < drops.levels - 2 && amount >= drops.ink[level + 1]) ++level;
  return level;
}

// The gap between the inks around the amount, in errors' units.
int64_t GapAround(const DropSet& drops, int amount) {
  const int level = LowerLevel(drops, amount);
  return (drops.ink[level + 1] - drops.ink[level]) * int64_t{kFineErrorScale};
}

// Place of the amount in the gap between the inks around it, folded: 0 at an ink, 1/2 half
// way between two.
double FoldedPlaceInGap(const DropSet& drops, int amount) {
  const int level = LowerLevel(drops, amount);
  const double low = drops.ink[level], high = drops.ink[level + 1];
  const double place = (amount - low) / (high - low);
  return std::min(place, 1 - place);
}

int32_t StartSpread(const DropSet& drops, int amount, int32_t errorGain) {
  return static_cast<int32_t>(GapAround(drops, amount) * (1 << kFineGainBits) / errorGain);
}

FinePixelRule RuleAt(const FineTones& tones, const DropSet& drops, int amount) {
  const double position = FoldedPlaceInGap(drops, amount) * 2 * (kFineNodeCount - 1);
  const int node = std::min(static_cast<int>(position), kFineNodeCount - 2);
  const double t = position - node;
  const FineNode& a = tones.nodes[node];
  const FineNode& b = tones.nodes[node + 1];
  auto mix = [t](int32_t from, int32_t to) { return from * (1 - t) + to * t; };
  const double ahead = mix(a.ahead, b.ahead), belowBehind = mix(a.belowBehind, b.belowBehind);
  const double below = mix(a.below, b.below), belowAhead = mix(a.belowAhead, b.belowAhead);
  const double unit = (1 << kFineShareBits) / (ahead + belowBehind + below + belowAhead);
  FinePixelRule rule;
  rule.errorGain = static_cast<int32_t>(std::lround(mix(a.errorGain, b.errorGain)));
  rule.keep = -1;
  rule.ahead = static_cast<int32_t>(std::lround(ahead * unit));
  rule.belowBehind = static_cast<int32_t>(std::lround(belowBehind * unit));
  rule.below = static_cast<int32_t>(std::lround(below * unit));
  rule.startSpread = StartSpread(drops, amount, rule.errorGain);
  rule.shakeSpan = static_cast<int32_t>(
      std::lround(mix(a.shake, b.shake) * GapAround(drops, amount) / kFineShakeUnit));
  return rule;
}

}  // namespace

std::vector<FinePixelRule> FinePixelRules(const DropSet& drops, const FineTones& tones) {
  std::vector<FinePixelRule> rules(kFullAmount + 1);
  for (int amount = 0; amount <= kFullAmount; ++amount)
    rules[amount] = RuleAt(tones, drops, amount);
  // Paper stays paper and full ink stays full: no error sways them, none leaves them and
  // nothing shakes them.
  for (int amount : {0, kFullAmount})
    rules[amount].errorGain = rules[amount].keep = rules[amount].startSpread =
        rules[amount].shakeSpan = 0;
  return rules;
}
