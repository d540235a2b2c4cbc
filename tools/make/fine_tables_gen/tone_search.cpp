#include "tone_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "image/fine_screen.h"
#include "own_screen_run.h"
#include "quality_metrics.h"

namespace {

constexpr int kGain = 0, kShake = 5, kKnobCount = 6;  // knobs of a node, in Knob's order

int32_t& Knob(FineTones& tones, int node, int knob) {
  FineNode& n = tones.nodes[node];
  int32_t* knobs[] = {&n.errorGain, &n.ahead, &n.belowBehind, &n.below, &n.belowAhead, &n.shake};
  return *knobs[knob];
}

void PrintTones(const FineTones& tones) {
  for (const FineNode& n : tones.nodes)
    std::printf("    {%d, %d, %d, %d, %d, %d},\n", n.errorGain, n.ahead, n.belowBehind, n.below,
                n.belowAhead, n.shake);
}

// The rows of a halftone below its first `skipped`.
quality::GreyImage RowsBelow(const quality::GreyImage& halftone, int skipped) {
  quality::GreyImage rows(halftone.width, halftone.height - skipped);
  std::copy(halftone.pixels.begin() + static_cast<size_t>(skipped) * halftone.width,
            halftone.pixels.end(), rows.pixels.begin());
  return rows;
}

void AddTextureExcess(const FineTones& tones, const FlatTextures& fs, ToneScore& score) {
  const DropSet& drops = fs.drops;
  for (size_t i = 0; i < fs.greys.size(); ++i) {
    const quality::GreyImage patch =
        quality::FlatPatch(fs.width, fs.height, static_cast<uint8_t>(fs.greys[i]));
    const auto screen = MakeFineScreenWith(patch.width, drops, tones);
    const quality::RadialSpectrum fine = quality::RadialPowerSpectrum(
        RowsBelow(quality::LevelsAsGrey(quality::ScreenLevels(*screen, patch), patch.width,
                                        patch.height, drops),
                  fs.skippedRows),
        fs.tile);
    const double lowDb =
        10 * std::log10((fine.lowFrequencyPower + 1e-3) / (fs.lowFrequency[i] + 1e-3));
    const double anisotropyDb = fine.anisotropy - fs.anisotropy[i];
    score.textureExcess += std::max(0.0, lowDb) + std::max(0.0, anisotropyDb);
    score.worseGreys += lowDb > 0 || anisotropyDb > 0;
    const double past = std::max(0.0, lowDb - TextureCharge::kLowMarginDb) +
                        std::max(0.0, anisotropyDb - TextureCharge::kAnisotropyMarginDb);
    score.pastMargin += past;
    score.pastMarginGreys += past > 0;
  }
}

}  // namespace

std::vector<int> AllFlatGreys() {
  std::vector<int> greys;
  for (int grey = 1; grey <= 254; ++grey) greys.push_back(grey);
  return greys;
}

FlatTextures FloydSteinbergTextures(const DropSet& drops, int height, int tile,
                                    const std::vector<int>& greys, int width, int skippedRows) {
  FlatTextures textures;
  textures.drops = drops, textures.width = width, textures.height = height, textures.tile = tile;
  textures.greys = greys, textures.skippedRows = skippedRows;
  for (int grey : greys) {
    const quality::RadialSpectrum fs = quality::RadialPowerSpectrum(
        RowsBelow(quality::FloydSteinbergToDrops(
                      quality::FlatPatch(width, height, static_cast<uint8_t>(grey)), drops),
                  skippedRows),
        tile);
    textures.lowFrequency.push_back(fs.lowFrequencyPower);
    textures.anisotropy.push_back(fs.anisotropy);
  }
  return textures;
}

FineTones TextbookTones(int gain) {
  FineTones tones;
  for (FineNode& n : tones.nodes) n = {gain, 112, 48, 80, 16, 0};
  return tones;
}

ToneScore ScoreTones(const FineTones& tones, const DropSet& drops,
                     const std::vector<quality::NamedImage>& photos, const TextureCharge* texture) {
  ToneScore score;
  for (const quality::NamedImage& photo : photos) {
    const auto screen = MakeFineScreenWith(photo.image.width, drops, tones);
    const quality::GreyImage halftone = quality::LevelsAsGrey(
        quality::ScreenLevels(*screen, photo.image), photo.image.width, photo.image.height, drops);
    score.sigma1_5 += quality::HvsPsnr(photo.image, halftone, 1.5) / photos.size();
    score.sigma3 += quality::HvsPsnr(photo.image, halftone, 3.0) / photos.size();
  }
  for (int grey = 1; grey < 255; grey += 2) {
    const quality::GreyImage patch = quality::FlatPatch(512, 64, static_cast<uint8_t>(grey));
    const auto screen = MakeFineScreenWith(patch.width, drops, tones);
    const quality::GreyImage halftone = quality::LevelsAsGrey(quality::ScreenLevels(*screen, patch),
                                                              patch.width, patch.height, drops);
    const double off = 100 * std::fabs(quality::InkCoverage(halftone, 0, 4) -
                                       quality::InkCoverage(halftone, 16, patch.height));
    score.startBand += std::max(0.0, off - 1.5);
  }
  if (texture) {
    for (const FlatTextures& fs : texture->references) AddTextureExcess(tones, fs, score);
    score.pastMarginCost = texture->pastMarginCost;
  }
  return score;
}

void PrintScore(const char* when, const ToneScore& score) {
  std::printf("%s: %.3f dB at sigma 1.5, %.3f dB at sigma 3, start band %.2f", when, score.sigma1_5,
              score.sigma3, score.startBand);
  std::printf(", texture excess %.2f dB at %d greys, %.2f dB past the margins at %d\n",
              score.textureExcess, score.worseGreys, score.pastMargin, score.pastMarginGreys);
}

FineTones SearchTones(const SearchPlan& plan, const FineTones& start, const DropSet& drops,
                      const std::vector<quality::NamedImage>& photos,
                      const TextureCharge* texture) {
  FineTones best = start;
  ToneScore bestScore = ScoreTones(best, drops, photos, texture);
  PrintScore("start", bestScore);
  int gainStep = plan.gainStep, weightStep = plan.weightStep, shakeStep = plan.shakeStep;
  for (int round = 0; round < plan.rounds; ++round) {
    for (int node = plan.firstNode; node <= plan.lastNode; ++node) {
      for (int knob = 0; knob < kKnobCount; ++knob) {
        const int step = knob == kGain ? gainStep : knob == kShake ? shakeStep : weightStep;
        if (step == 0) continue;
        for (int sign : {1, -1}) {
          FineTones trial = best;
          int32_t& value = Knob(trial, node, knob);
          value += sign * step;
          if (value < (knob == kShake ? 0 : 1)) continue;
          if ((knob == kGain && value > plan.maxGain) || (knob == kShake && value > plan.maxShake))
            continue;
          const ToneScore score = ScoreTones(trial, drops, photos, texture);
          if (score.Objective() > bestScore.Objective() + 1e-4) {
            best = trial, bestScore = score;
            break;
          }
        }
      }
    }
    PrintScore(("round " + std::to_string(round)).c_str(), bestScore);
    PrintTones(best);
    std::fflush(stdout);
    gainStep = gainStep == 0 ? 0 : std::max(1, gainStep * 3 / 5);
    weightStep = weightStep == 0 ? 0 : std::max(1, weightStep * 3 / 5);
    shakeStep = shakeStep == 0 ? 0 : std::max(1, shakeStep * 3 / 5);
  }
  return best;
}
