#include "steady_state.h"

#include "image/error_diffusion_kernel.h"

namespace {

constexpr int kRunWidth = 768;     // a row three windows wide
constexpr int kWindowStart = 256;  // windows come from the middle third, in scan order

std::vector<int32_t> IdentityCurve() {
  std::vector<int32_t> curve(kImgTargetCount);
  for (int i = 0; i < kImgTargetCount; ++i) curve[i] = i;
  return curve;
}

}  // namespace

SteadyState SampleSteadyState(int target, const ErrorDiffusionTables& tables, int warmRows,
                              int sampleRows) {
  const std::vector<int32_t> curve = IdentityCurve();
  const std::vector<uint16_t> amounts(kRunWidth, static_cast<uint16_t>(2550 - target));
  std::vector<uint8_t> dots(kRunWidth);
  ImageErrorDiffusion diffusion(kRunWidth, curve.data(), tables);

  for (int y = 0; y < warmRows; ++y) diffusion.DiffuseRow(y, amounts.data(), dots.data());

  SteadyState state;
  state.windows.resize(sampleRows);
  double errorSum = 0, zeroBias = 0, dotCount = 0, pixels = 0;
  for (int r = 0; r < sampleRows; ++r) {
    const int y = warmRows + r;
    StateWindow& window = state.windows[r];
    diffusion.DiffuseRow(y, amounts.data(), dots.data(), [&](int x, int32_t value, int32_t bias) {
      const int position = (y & 1) == 0 ? x : kRunWidth - 1 - x;
      const int k = position - kWindowStart;
      if (k < 0 || k >= kImgRestartCycle) return;
      window.error[k] = value;
      window.bias[k] = bias;
      errorSum += value;
      zeroBias += bias == 0;
      pixels += 1;
    });
    for (int k = 0; k < kImgRestartCycle; ++k) {
      const int position = kWindowStart + k;
      dotCount += dots[(y & 1) == 0 ? position : kRunWidth - 1 - position] == 0;
    }
  }
  state.meanError = errorSum / pixels;
  state.zeroBiasShare = zeroBias / pixels;
  state.dotDensity = dotCount / pixels;
  return state;
}
