#include "tone_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image/fine_screen.h"
#include "own_screen_run.h"

namespace {

int32_t& Knob(FineTones& tones, int node, int knob) {
  FineNode& n = tones.nodes[node];
  int32_t* knobs[] = {&n.errorGain, &n.ahead, &n.belowBehind, &n.below, &n.belowAhead};
  return *knobs[knob];
}

void PrintTones(const FineTones& tones) {
  for (const FineNode& n : tones.nodes)
    std::printf("    {%d, %d, %d, %d, %d},\n", n.errorGain, n.ahead, n.belowBehind, n.below,
                n.belowAhead);
}

}  // namespace

FineTones TextbookTones(int gain) {
  FineTones tones;
  for (FineNode& n : tones.nodes) n = {gain, 112, 48, 80, 16};
  return tones;
}

ToneScore ScoreTones(const FineTones& tones, const DropSet& drops,
                     const std::vector<quality::NamedImage>& photos) {
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
  return score;
}

FineTones SearchTones(const SearchPlan& plan, const DropSet& drops,
                      const std::vector<quality::NamedImage>& photos) {
  FineTones best = TextbookTones(plan.startGain);
  ToneScore bestScore = ScoreTones(best, drops, photos);
  std::printf("start: %.3f dB at sigma 1.5, %.3f dB at sigma 3, start band %.2f\n",
              bestScore.sigma1_5, bestScore.sigma3, bestScore.startBand);
  int gainStep = plan.gainStep, weightStep = plan.weightStep;
  for (int round = 0; round < plan.rounds; ++round) {
    for (int node = 0; node < kFineNodeCount; ++node) {
      for (int knob = 0; knob < 5; ++knob) {
        for (int sign : {1, -1}) {
          FineTones trial = best;
          int32_t& value = Knob(trial, node, knob);
          value += sign * (knob == 0 ? gainStep : weightStep);
          if (value < 1 || (knob == 0 && value > plan.maxGain)) continue;
          const ToneScore score = ScoreTones(trial, drops, photos);
          if (score.Objective() > bestScore.Objective() + 1e-4) {
            best = trial, bestScore = score;
            break;
          }
        }
      }
    }
    std::printf("round %d: %.3f dB at sigma 1.5, %.3f dB at sigma 3, start band %.2f\n", round,
                bestScore.sigma1_5, bestScore.sigma3, bestScore.startBand);
    PrintTones(best);
    std::fflush(stdout);
    gainStep = std::max(1, gainStep * 3 / 5);
    weightStep = std::max(1, weightStep * 3 / 5);
  }
  return best;
}
