// The search behind the fine screen's knobs: from given knobs (textbook diffusion's weights and
// one error gain at every node, or earlier knobs to refine), a coordinate descent over the nodes'
// knobs (each knob up or down by a step, the first that scores better kept), the steps shrinking
// each round, scoring the mean eye-weighted PSNR of the training photographs under two eye models
// (Gaussian sigma 1.5 px and 3 px, identity tone curve) less a cost for a band in the first rows of
// flat greys (without it the search found knobs whose rows 0-3 stray up to 2.9 points at greys 61
// to 64, for 0.3 dB more). Deterministic.
#ifndef KORVEL_TOOLS_FINE_TABLES_GEN_TONE_SEARCH_H
#define KORVEL_TOOLS_FINE_TABLES_GEN_TONE_SEARCH_H

#include <string>
#include <vector>

#include "image/fine_screen_tones.h"
#include "image/own_screen.h"
#include "test_images.h"

struct SearchPlan {
  int startGain;      // 1/64, at every node
  int maxGain;        // 1/64
  int gainStep;       // first round's steps; 0 leaves the gain as it starts
  int weightStep;     // in the units of textbook weights 112, 48, 80, 16; 0 leaves them
  int rounds;         // each round's steps are 3/5 of the last one's
  int shakeStep = 0;  // 1/kFineShakeUnit of the gap; 0 leaves the shake as it starts
  int maxShake = 0;
  int firstNode = 0, lastNode = kFineNodeCount - 1;  // the nodes whose knobs move
};

// Floyd-Steinberg's texture on flat greys (width x height, spectra averaged over tiles of
// tile x tile of the rows below the first skippedRows) at some drop inks: the low-frequency power
// and the anisotropy of each, which the fine screen's, measured the same way, must not pass.
struct FlatTextures {
  DropSet drops;
  int width = 512, height = 256, tile = 128, skippedRows = 0;
  std::vector<int> greys;
  std::vector<double> lowFrequency, anisotropy;  // in the order of greys
};
// Every grey 1..254.
std::vector<int> AllFlatGreys();
FlatTextures FloydSteinbergTextures(const DropSet& drops, int height = 256, int tile = 128,
                                    const std::vector<int>& greys = AllFlatGreys(), int width = 512,
                                    int skippedRows = 0);

// What the score charges for texture: Floyd-Steinberg's at the drop inks trained and perhaps
// at others (the fine screen runs at each with the same knobs), and on top of the charge per
// dB of excess, `pastMarginCost` per dB by which a grey's anisotropy passes Floyd-Steinberg's
// by more than kAnisotropyMarginDb or its low-frequency power by more than kLowMarginDb.
struct TextureCharge {
  static constexpr double kAnisotropyMarginDb = 0.2;
  static constexpr double kLowMarginDb = 0.1;  // 1.023x
  std::vector<FlatTextures> references;
  double pastMarginCost = 0;
};

// Mean PSNR (dB) at sigma 1.5 and at sigma 3 of the fine screen with the knobs, and its start
// band: over flat greys 1, 3, .., 253 (512 x 64), the points by which rows 0-3 stray beyond 1.5
// from the rows below 16, summed; each such point costs kBandCost dB. When Floyd-Steinberg's
// textures are given, also the texture excess: over their flat greys, the dB by which the
// screen's low-frequency power (plus 0.001) and its anisotropy pass Floyd-Steinberg's, summed,
// each dB costing kTextureCost dB, and the greys where either passes, each costing kWorseCost;
// and the dB past the charge's margins, each costing its pastMarginCost.
struct ToneScore {
  static constexpr double kBandCost = 1.0;
  static constexpr double kTextureCost = 0.2;
  static constexpr double kWorseCost = 0.02;
  double sigma1_5 = 0, sigma3 = 0, startBand = 0, textureExcess = 0, pastMargin = 0;
  double pastMarginCost = 0;
  int worseGreys = 0, pastMarginGreys = 0;
  double Objective() const {
    return sigma1_5 + sigma3 - kBandCost * startBand - kTextureCost * textureExcess -
           kWorseCost * worseGreys - pastMarginCost * pastMargin;
  }
};
ToneScore ScoreTones(const FineTones& tones, const DropSet& drops,
                     const std::vector<quality::NamedImage>& photos,
                     const TextureCharge* texture = nullptr);

// The search from `start`, charging textures when given; prints each round's knobs and scores.
FineTones SearchTones(const SearchPlan& plan, const FineTones& start, const DropSet& drops,
                      const std::vector<quality::NamedImage>& photos,
                      const TextureCharge* texture = nullptr);

// The textbook diffusion's knobs with the error gain at every node.
FineTones TextbookTones(int gain);

#endif
