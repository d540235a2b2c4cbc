// Writes the pass-parameter files QntPassParam_<level>.ini for the quality levels 10, 20, ...,
// 100 and the two special levels 0 and -1 into a folder.
//
// Model: a printed dot spreads, so a requested ink share a comes out as
//   printed(a) = a + 4 g a (1 - a),
// the classic parabolic dot gain that is largest at 50 % and vanishes at paper and solid.
// The midtone gain g grows with the quality level (more passes lay more, wetter dots):
// g = 3 % + 0.13 % per level, 4.3 % at level 10 and 16 % at level 100.
//
// "QNT_CURVE" holds the compensation: for each of 11 evenly spaced targets t (0, 10, ..., 100 %)
// the request a that prints as t, the inverse of the model,
//   a(t) = ((1 + 4g) - sqrt((1 + 4g)^2 - 16 g t)) / (8 g),
// in whole percent. It starts at 0, ends at 100 and rises throughout, and a natural cubic
// spline through it stays inside 0..100, as the error-diffusion screen requires.
//
// "QNT_COMPENSATION" is the calibration ramp the test pattern of template type 38 draws: seven
// coverages from paper to solid that print as evenly spaced steps (the same compensation at
// t = 0, 1/6, ..., 1). Levels 0 and -1 use built-in curves, so their files hold only the ramp,
// uncompensated.
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kCurvePoints = 11;
constexpr int kRampPoints = 7;

double MidtoneGain(int level) {
  return (3.0 + 0.13 * level) / 100.0;
}

// The request, 0..1, that prints as target t, 0..1, under gain g.
double CompensatedRequest(double t, double g) {
  if (g <= 0.0) return t;
  const double b = 1.0 + 4.0 * g;
  return (b - std::sqrt(b * b - 16.0 * g * t)) / (8.0 * g);
}

int Percent(double share) {
  return static_cast<int>(std::floor(share * 100.0 + 0.5));
}

bool WriteFile(const std::string& folder, int level) {
  const std::string path = folder + "/QntPassParam_" + std::to_string(level) + ".ini";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const double gain = level > 0 ? MidtoneGain(level) : 0.0;
  std::fprintf(
      file, "; korvel pass parameters for quality level %d, written by tools/make/passparamgen\n",
      level);
  if (level > 0) {
    std::fprintf(
        file,
        "; QNT_CURVE: ink to lay down, in percent, for requested ink 0 10 20 ... 100 percent,\n"
        "; compensating a midtone dot gain of %.1f percent\n"
        "[QNT_CURVE]\nEffectiveParams=%d\n",
        100.0 * gain, kCurvePoints);
    for (int k = 0; k < kCurvePoints; ++k)
      std::fprintf(file, "Param%d=%d\n", k + 1,
                   Percent(CompensatedRequest(static_cast<double>(k) / (kCurvePoints - 1), gain)));
    std::fprintf(file, "\n");
  }
  std::fprintf(file,
               "; QNT_COMPENSATION: ink coverage in percent at the top, 1/6, ..., bottom of the\n"
               "; calibration ramp\n[QNT_COMPENSATION]\n");
  for (int k = 0; k < kRampPoints; ++k)
    std::fprintf(file, "Param%d=%d\n", k,
                 Percent(CompensatedRequest(static_cast<double>(k) / (kRampPoints - 1), gain)));
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: passparamgen FOLDER\n");
    return 2;
  }
  for (int level : {-1, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}) {
    if (!WriteFile(argv[1], level)) {
      std::fprintf(stderr, "passparamgen: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
