// The fine screen against a plainly written statement of its rule, on random pictures, drop
// inks and knobs (paper and full ink, the warm-up that keeps a band off the top of a flat patch
// and the tone the carried error keeps all follow from the rule), and a fingerprint of its
// output with the trained knobs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "image/fine_screen.h"

namespace {

using Picture = std::vector<std::vector<uint16_t>>;  // rows of amounts
using Levels = std::vector<std::vector<uint8_t>>;

Levels RunScreen(OwnScreen& screen, const Picture& picture) {
  Levels out;
  std::vector<uint8_t> row(picture[0].size());
  for (const auto& amounts : picture) {
    screen.TakeRow(amounts.data());
    while (screen.GiveRow(row.data())) out.push_back(row);
  }
  return out;
}

struct InkGap {
  int low, high;
};
InkGap Gap(int amount, const DropSet& drops) {
  int level = 0;
  while (level < drops.levels - 2 && amount >= drops.ink[level + 1]) level++;
  return {drops.ink[level], drops.ink[level + 1]};
}

struct Interpolated {
  double gain, weight[4], shake;
};
Interpolated Knobs(int amount, const DropSet& drops, const FineTones& tones) {
  const InkGap gap = Gap(amount, drops);
  double place = double(amount - gap.low) / (gap.high - gap.low);
  place = std::min(place, 1 - place);
  const double position = place * 16;
  const int node = std::min(int(position), kFineNodeCount - 2);
  const double t = position - node;
  const FineNode& a = tones.nodes[node];
  const FineNode& b = tones.nodes[node + 1];
  return {a.errorGain * (1 - t) + b.errorGain * t,
          {a.ahead * (1 - t) + b.ahead * t, a.belowBehind * (1 - t) + b.belowBehind * t,
           a.below * (1 - t) + b.below * t, a.belowAhead * (1 - t) + b.belowAhead * t},
          a.shake * (1 - t) + b.shake * t};
}

// The rule, written for clarity: a pixel's knobs are interpolated from the two nodes around its
// folded place in the gap between the inks around its amount; the decision compares amount
// plus gain times gathered error with the half-way points of the inks; the error goes 1/4096
// shares (rounded down) ahead, below behind and below, the rest below ahead, in the direction
// the row is walked, even rows left to right. Paper and full ink lay their own level and pass
// no error on; errors are in 1/16 amounts. The first row starts with errors spread evenly
// (steps of 2^32 over the golden ratio) over half the gap over the gain either way. The
// decision is shaken by an offset: the shake's 1/64 of the gap, times the upper 16 bits of a
// linear congruential sequence, centred, over 2^16; the sequence steps once a pixel in the
// order walked, from a row's number mixed by MurmurHash3's finaliser.
uint32_t RowShakeSeed(uint32_t row) {
  uint32_t h = row * 0x9E3779B9u + 0x7368616Bu;
  h = (h ^ (h >> 16)) * 0x85EBCA6Bu;
  h = (h ^ (h >> 13)) * 0xC2B2AE35u;
  return h ^ (h >> 16);
}

Levels SeededDiffusion(const Picture& picture, const DropSet& drops, const FineTones& tones) {
  const int height = static_cast<int>(picture.size());
  const int width = static_cast<int>(picture[0].size());
  std::vector<std::vector<int64_t>> error(height + 1, std::vector<int64_t>(width, 0));
  uint32_t sequence = 0x6B6F7276;
  for (int x = 0; x < width; ++x) {
    sequence += 0x9E3779B9;
    const int amount = picture[0][x];
    if (amount == 0 || amount == kFullAmount) continue;
    const double gain = std::lround(Knobs(picture[0][x], drops, tones).gain);
    const int64_t gap = (Gap(amount, drops).high - Gap(amount, drops).low) * 16;
    const int64_t spread = gap * 64 / static_cast<int64_t>(gain);
    error[0][x] = ((static_cast<int64_t>(sequence >> 16) - 32768) * spread) >> 16;
  }
  Levels out(height, std::vector<uint8_t>(width));
  for (int y = 0; y < height; ++y) {
    const bool leftToRight = y % 2 == 0;
    uint32_t sequence = RowShakeSeed(static_cast<uint32_t>(y));
    for (int i = 0; i < width; ++i) {
      sequence = sequence * 1664525u + 1013904223u;
      const int x = leftToRight ? i : width - 1 - i;
      const int amount = picture[y][x];
      const Interpolated knobs = Knobs(amount, drops, tones);
      const double gain = knobs.gain;
      const double* w = knobs.weight;
      const double sum = w[0] + w[1] + w[2] + w[3];
      const bool paperOrFull = amount == 0 || amount == kFullAmount;

      const int64_t gathered = error[y][x];
      const InkGap gap = Gap(amount, drops);
      const int64_t span =
          paperOrFull ? 0 : std::lround(knobs.shake * (gap.high - gap.low) * 16 / 64);
      const int64_t offset = ((static_cast<int64_t>(sequence >> 16) - 32768) * span) >> 16;
      const int64_t swayed =
          amount * 16 + (paperOrFull ? 0 : (std::lround(gain) * gathered) >> 6) + offset;
      int level = 0;
      for (int l = 1; l < drops.levels; ++l)
        if (swayed >= (drops.ink[l - 1] + drops.ink[l]) * 16 / 2) level = l;
      out[y][x] = static_cast<uint8_t>(level);
      if (paperOrFull) continue;

      const int64_t e = amount * 16 + gathered - drops.ink[level] * 16;
      int64_t share[3];
      for (int k = 0; k < 3; ++k) share[k] = (e * std::lround(w[k] * 4096 / sum)) >> 12;
      const int ahead = leftToRight ? x + 1 : x - 1, behind = leftToRight ? x - 1 : x + 1;
      if (ahead >= 0 && ahead < width) error[y][ahead] += share[0];
      if (behind >= 0 && behind < width) error[y + 1][behind] += share[1];
      error[y + 1][x] += share[2];
      if (ahead >= 0 && ahead < width) error[y + 1][ahead] += e - share[0] - share[1] - share[2];
    }
  }
  return out;
}

// The screen diffuses the page as if 32 copies of its first row lay above it, and gives only
// the page's rows.
Levels ReferenceScreen(const Picture& picture, const DropSet& drops, const FineTones& tones) {
  constexpr int kWarmUpRows = 32;
  Picture warmedUp(kWarmUpRows, picture[0]);
  warmedUp.insert(warmedUp.end(), picture.begin(), picture.end());
  Levels out = SeededDiffusion(warmedUp, drops, tones);
  out.erase(out.begin(), out.begin() + kWarmUpRows);
  return out;
}

// Random pictures: noise, smooth ramps, and patches of paper and full ink among them.
Picture RandomPicture(std::mt19937& random, int width, int height) {
  std::uniform_int_distribution<int> amount(0, kFullAmount), kind(0, 3);
  const int style = kind(random);
  const double slope = amount(random) / 40.0;
  Picture picture(height, std::vector<uint16_t>(width));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int value = style == 0 ? amount(random)
                             : static_cast<int>(std::fmod(slope * (x + 2 * y), kFullAmount + 1));
      if (style == 2 && kind(random) == 0) value = kind(random) < 2 ? 0 : kFullAmount;
      if (style == 3) value = std::clamp(value / 60, 0, 3) == 0 ? 0 : value;
      picture[y][x] = static_cast<uint16_t>(value);
    }
  return picture;
}

DropSet RandomDrops(std::mt19937& random) {
  if (random() % 3 == 0) return DropSet::OneBit();
  std::uniform_int_distribution<int> ink(1, kFullAmount - 1);
  int small = ink(random), medium = ink(random);
  while (medium == small) medium = ink(random);
  return DropSet::ThreeDrops(std::min(small, medium), std::max(small, medium));
}

FineTones RandomTones(std::mt19937& random) {
  std::uniform_int_distribution<int> gain(1, 255), weight(1, 200), shake(0, 96);
  FineTones tones;
  for (FineNode& n : tones.nodes)
    n = {gain(random),   weight(random), weight(random),
         weight(random), weight(random), shake(random)};
  return tones;
}

TEST(FineScreen, FollowsItsRuleOnRandomPicturesInksAndKnobs) {
  std::mt19937 random(20261206);
  for (int trial = 0; trial < 400; ++trial) {
    const int width = 1 + random() % 70, height = 1 + random() % 12;
    const Picture picture = RandomPicture(random, width, height);
    const DropSet drops = trial % 2 == 0   ? RandomDrops(random)
                          : trial % 4 == 1 ? DropSet::OneBit()
                                           : DropSet::ThreeDrops();
    const FineTones tones = trial % 3 == 0 ? RandomTones(random) : FineTonesFor(drops);
    const auto screen = MakeFineScreenWith(width, drops, tones);
    ASSERT_EQ(RunScreen(*screen, picture), ReferenceScreen(picture, drops, tones))
        << "trial " << trial << ", " << width << " x " << height << ", levels " << drops.levels
        << " inks " << drops.ink[1] << " " << drops.ink[2];
  }
}

uint64_t Fingerprint(const DropSet& drops) {
  Picture picture(61, std::vector<uint16_t>(97));
  for (int y = 0; y < 61; ++y)
    for (int x = 0; x < 97; ++x)
      picture[y][x] = static_cast<uint16_t>((x * 26 + y * 3 + (x * y) % 17) % (kFullAmount + 1));
  const auto screen = MakeFineScreen(97, 61, drops);
  uint64_t hash = 1469598103934665603ULL;
  for (const auto& row : RunScreen(*screen, picture))
    for (uint8_t level : row) hash = (hash ^ level) * 1099511628211ULL;
  return hash;
}

// The trained screen's output on a fixed picture (changes only with the trained knobs).
TEST(FineScreen, GoldenFingerprint) {
  EXPECT_EQ(Fingerprint(DropSet::OneBit()), 14623189544297986804u);
  EXPECT_EQ(Fingerprint(DropSet::ThreeDrops()), 11129424713530179550u);
}

}  // namespace
