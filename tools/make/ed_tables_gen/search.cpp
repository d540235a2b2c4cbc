#include "search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "bluenoise/split_mix64.h"
#include "cycles.h"
#include "error_diffusion_run.h"
#include "quality_metrics.h"
#include "row_coverage.h"
#include "test_images.h"

namespace {

constexpr double kJumpLimit = 3.5;         // points, rows 0..3 after a restarting jump, with margin
constexpr double kToneLimit = 0.5;         // grey levels of mean tone error per photograph
constexpr double kSmoothTolerance = 0.05;  // dB a smooth synthetic image may lose
constexpr int kJumpWidth = 4096;           // as wide as the widest test rows
constexpr int kRestartingGreyStep = 21;    // greys more than 20 apart restart the screen
constexpr double kStepFloor = 0.25;        // the smallest step, as a share of each unit step
constexpr double kMinGain = 0.002;         // dB a move must gain to be taken

struct Figures {
  double jumpRows = 0;   // worst points over rows 0..3 after the jumps
  double meanPsnr = 0;   // over the scored photographs
  double worstGain = 0;  // smallest gain of one image over the first tables (less tolerance)
  double worstTone = 0;  // largest |mean tone error|
  double meanBlock = 0;  // mean 32 x 32 block error over the scored photographs
  bool toneKept = true;  // every photograph's tone within its limit
};

struct PhotoFigures {
  std::vector<double> psnr, tone, block;
};

PhotoFigures Measure(
    const std::vector<quality::NamedImage>& photos, const ErrorDiffusionTables& tables,
    ImageErrorDiffusion::Restarts restarts = ImageErrorDiffusion::Restarts::kFromTables) {
  PhotoFigures f;
  for (const quality::NamedImage& photo : photos) {
    const quality::HalftoneFigures h = quality::MeasureHalftone(
        photo.image, quality::ScreenErrorDiffusion(photo.image, tables, restarts));
    f.psnr.push_back(h.hvsPsnrSigma1_5);
    f.tone.push_back(h.meanToneError);
    f.block.push_back(h.blockMeanError);
  }
  return f;
}

double MeanOf(const std::vector<double>& v, size_t count) {
  double sum = 0;
  for (size_t i = 0; i < count; ++i) sum += v[i];
  return sum / count;
}

// Flat patches start without a band: the first 8 rows of a 1024 x 256 patch carry the ink of
// the grey within a tenth of the smaller of ink and paper share (plus 0.002, the sampling spread
// of the sparsest dots), as the screen's quality tests demand.
bool FlatPatchesStartWithoutBands(const ErrorDiffusionTables& tables) {
  for (int grey : {2, 5, 12, 25, 60, 128, 200, 235, 245, 250, 253}) {
    const quality::GreyImage patch = quality::ScreenErrorDiffusion(
        quality::FlatPatch(1024, 256, static_cast<uint8_t>(grey)), tables);
    const double ink = 1 - grey / 255.0;
    if (std::fabs(quality::InkCoverage(patch, 0, 8) - ink) > 0.1 * std::min(ink, 1 - ink) + 0.002)
      return false;
  }
  return true;
}

double RowMean(const RestartRow& row) {
  double sum = 0;
  for (int32_t e : row) sum += e;
  return sum / kImgRestartCycle;
}

// The stated trends of the restart tables that the shaping could break (the generator keeps
// the others by construction): the light rows hold large positive errors, the darkest rows
// large negative ones, and about 41 % of row 100's biases are 0.
bool KeepsStatedTrends(const TableSet& tables) {
  for (int b = 1; b <= 20; ++b)
    if (RowMean(tables.restartError[b]) <= 1300) return false;
  if (RowMean(tables.restartError[kImgBucketCount - 2]) >= -1000) return false;
  const RestartRow& row100 = tables.restartBias[100];
  const double zeros = std::count(row100.begin(), row100.end(), 0) / double(kImgRestartCycle);
  return std::fabs(zeros - 0.41) <= 0.05;
}

// The first tables: the start's cycles and the closest steady windows, unshaped.
TableSet FirstTablesOf(const TableChoice& first, const FlatRuns& runs) {
  TableSet tables = TablesWithCycles(first.dotBiasSeed, first.weightSeed);
  BuildRestartTables(tables, runs, RestartShaping{}, false);
  return tables;
}

TableSet TablesOf(const TableChoice& choice, const FlatRuns& runs) {
  TableSet tables = TablesWithCycles(choice.dotBiasSeed, choice.weightSeed);
  BuildRestartTables(tables, runs, choice.shaping);
  return tables;
}

FlatRuns FlatRunsOf(const TableChoice& choice) {
  return RunFlatRuns(TablesWithCycles(choice.dotBiasSeed, choice.weightSeed));
}

// Builds and scores choices; the flat runs of every seed pair are made once.
class Judge {
 public:
  // The first `scored` photographs make the score; every image may lose at most its tolerance.
  Judge(std::vector<quality::NamedImage> photos, std::vector<double> tolerance, size_t scored,
        const TableChoice& first)
      : photos_(std::move(photos)), tolerance_(std::move(tolerance)), scored_(scored) {
    const TableSet tables = FirstTables(first);
    base_ = Measure(photos_, tables.View());
    baseBlock_ = MeanOf(base_.block, scored_);
  }

  TableSet FirstTables(const TableChoice& first) { return FirstTablesOf(first, RunsFor(first)); }
  TableSet Build(const TableChoice& choice) { return TablesOf(choice, RunsFor(choice)); }

  Figures Evaluate(const TableChoice& choice) {
    const TableSet tables = Build(choice);
    const ErrorDiffusionTables view = tables.View();
    Figures p;
    const quality::JumpFigures jumps = quality::WorstJumpRows(
        quality::JumpPath::kErrorDiffusion, kJumpWidth, kRestartingGreyStep, &view);
    for (double w : jumps.worst) p.jumpRows = std::max(p.jumpRows, w);
    const PhotoFigures f = Measure(photos_, view);
    p.meanPsnr = MeanOf(f.psnr, scored_);
    p.meanBlock = MeanOf(f.block, scored_);
    p.worstGain = 1e9;
    for (size_t i = 0; i < photos_.size(); ++i) {
      p.worstGain = std::min(p.worstGain, f.psnr[i] - base_.psnr[i] + tolerance_[i]);
      p.worstTone = std::max(p.worstTone, std::fabs(f.tone[i]));
      // Tone may not leave half a grey level, nor grow where it was already beyond that.
      if (std::fabs(f.tone[i]) > std::max(kToneLimit, std::fabs(base_.tone[i]))) p.toneKept = false;
    }
    ++evaluations_;
    return p;
  }

  // The hard constraints, flat patches last (they need a build of their own).
  bool Feasible(const TableChoice& choice, const Figures& p) {
    if (p.jumpRows > kJumpLimit || !p.toneKept || p.worstGain < 0 || p.meanBlock > baseBlock_)
      return false;
    const TableSet tables = Build(choice);
    return KeepsStatedTrends(tables) && FlatPatchesStartWithoutBands(tables.View());
  }

  int evaluations() const { return evaluations_; }
  double baseBlock() const { return baseBlock_; }

 private:
  const FlatRuns& RunsFor(const TableChoice& choice) {
    const auto key = std::make_pair(choice.dotBiasSeed, choice.weightSeed);
    auto found = runs_.find(key);
    if (found == runs_.end()) {
      found = runs_.emplace(key, FlatRunsOf(choice)).first;
    }
    return found->second;
  }

  std::vector<quality::NamedImage> photos_;
  std::vector<double> tolerance_;
  size_t scored_;
  PhotoFigures base_;
  double baseBlock_ = 0;
  std::map<std::pair<uint64_t, uint64_t>, FlatRuns> runs_;
  int evaluations_ = 0;
};

void PrintAnchors(const char* name, const double (&v)[RestartShaping::kAnchors]) {
  std::printf(" %s", name);
  for (double x : v) std::printf(" %.3f", x);
}

void Print(const char* what, const TableChoice& c, const Figures& p) {
  std::printf("%-7s seeds %016llx %016llx", what, static_cast<unsigned long long>(c.dotBiasSeed),
              static_cast<unsigned long long>(c.weightSeed));
  PrintAnchors("keep", c.shaping.keep);
  PrintAnchors("apart", c.shaping.apart);
  PrintAnchors("drop", c.shaping.drop);
  std::printf(" rows %.2f x%.1f | jump %5.2f psnr %6.3f worst %+6.3f tone %5.3f%s block %5.3f\n",
              c.shaping.rowsFree, c.shaping.rowWeight, p.jumpRows, p.meanPsnr, p.worstGain,
              p.worstTone, p.toneKept ? "" : "!", p.meanBlock);
  std::fflush(stdout);
}

// One parameter of the coordinate search: where it lives, its range and its unit step.
struct Coordinate {
  double* value;
  double low, high, unit;
};

std::vector<Coordinate> CoordinatesOf(TableChoice& c) {
  std::vector<Coordinate> coordinates;
  RestartShaping& s = c.shaping;
  for (int i = 0; i < RestartShaping::kAnchors; ++i) {
    coordinates.push_back({&s.keep[i], 0.0, 1.0, 0.2});
    coordinates.push_back({&s.apart[i], 0.0, 1.0, 0.2});
    coordinates.push_back({&s.drop[i], 0.0, 0.5, 0.05});
  }
  coordinates.push_back({&s.rowsFree, 0.0, 3.0, 0.5});
  coordinates.push_back({&s.rowWeight, 0.0, 32.0, 4.0});
  return coordinates;
}

struct Tried {
  TableChoice choice;
  Figures figures;
};

// For every limit on the jump rows, the best score within it.
void PrintTradeOff(const char* title, std::vector<Tried> tried) {
  std::sort(tried.begin(), tried.end(),
            [](const Tried& a, const Tried& b) { return a.figures.jumpRows < b.figures.jumpRows; });
  std::printf("\ntrade-off, %s (jump rows -> best mean psnr)\n", title);
  double best = -1e9;
  for (const Tried& t : tried) {
    if (t.figures.meanPsnr <= best) continue;
    best = t.figures.meanPsnr;
    Print("front", t.choice, t.figures);
  }
}

// The gain of the chosen tables over the first on a photograph, averaged over copies of it
// nudged by one grey level at one pixel of its first rows. Any change of the screen's state
// reshuffles every dot after it, which moves the score of one image by up to about 0.2 dB
// either way (most on smooth images with few restarts); the average over the copies is the
// gain the tables make, and its spread shows how much a single figure can be trusted.
constexpr int kNudgedCopies = 16;

struct NudgedGain {
  double mean = 0, spread = 0;  // of the gain over the copies (spread: standard deviation)
};

NudgedGain GainOverNudgedCopies(const quality::GreyImage& photo, const TableSet& first,
                                const TableSet& chosen) {
  double sum = 0, squares = 0;
  for (int k = 0; k < kNudgedCopies; ++k) {
    quality::GreyImage copy = photo;
    if (k > 0) {
      uint8_t& pixel = copy.At((37 * k + 11) % copy.width, (53 * k + 7) % std::min(5, copy.height));
      pixel = pixel < 255 ? pixel + 1 : 254;
    }
    const double gain =
        quality::HvsPsnr(photo, quality::ScreenErrorDiffusion(copy, chosen.View()), 1.5) -
        quality::HvsPsnr(photo, quality::ScreenErrorDiffusion(copy, first.View()), 1.5);
    sum += gain;
    squares += gain * gain;
  }
  const double mean = sum / kNudgedCopies;
  return {mean, std::sqrt(std::max(0.0, squares / kNudgedCopies - mean * mean))};
}

double MeanAbsolute(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += std::fabs(x);
  return sum / v.size();
}

// Per photograph: the first tables, the choice, the gain averaged over nudged copies, the
// screen never restarting (with either tables' first row), mean tone and block error.
void PrintPhotographs(const char* title, const std::vector<quality::NamedImage>& photos,
                      const TableSet& first, const TableSet& chosen) {
  if (photos.empty()) return;
  const auto kNoRestart = ImageErrorDiffusion::Restarts::kFirstRowOnly;
  const PhotoFigures a = Measure(photos, first.View()), b = Measure(photos, chosen.View());
  const PhotoFigures na = Measure(photos, first.View(), kNoRestart);
  const PhotoFigures nb = Measure(photos, chosen.View(), kNoRestart);
  std::printf(
      "\n%s: psnr first chosen gain | nudged gain spread | no restart first chosen |"
      " tone first chosen | block first chosen\n",
      title);
  double nudgedSum = 0;
  for (size_t i = 0; i < photos.size(); ++i) {
    const NudgedGain g = GainOverNudgedCopies(photos[i].image, first, chosen);
    nudgedSum += g.mean;
    std::printf(
        "%-24s %6.2f %6.2f %+6.2f | %+6.3f %5.3f | %6.2f %6.2f | %+6.3f %+6.3f | %5.3f %5.3f\n",
        photos[i].name.c_str(), a.psnr[i], b.psnr[i], b.psnr[i] - a.psnr[i], g.mean, g.spread,
        na.psnr[i], nb.psnr[i], a.tone[i], b.tone[i], a.block[i], b.block[i]);
  }
  const size_t n = photos.size();
  std::printf("%-24s %6.2f %6.2f %+6.2f | %+6.3f       | %6.2f %6.2f | %6.3f %6.3f | %5.3f %5.3f\n",
              "mean", MeanOf(a.psnr, n), MeanOf(b.psnr, n), MeanOf(b.psnr, n) - MeanOf(a.psnr, n),
              nudgedSum / n, MeanOf(na.psnr, n), MeanOf(nb.psnr, n), MeanAbsolute(a.tone),
              MeanAbsolute(b.tone), MeanOf(a.block, n), MeanOf(b.block, n));
}

}  // namespace

bool SearchTableChoice(const TableChoice& start, const SearchPlan& plan,
                       const std::string& trainingFolder, TableChoice* chosen) {
  std::vector<quality::NamedImage> photos = quality::Photographs(trainingFolder);
  if (photos.empty()) {
    std::fprintf(stderr, "no photographs in %s\n", trainingFolder.c_str());
    return false;
  }
  // Synthetic images do not count in the score. Smooth ones restart in their first row and
  // along a few edges and may lose a trace; the horizontal edges, restarting along every band
  // edge and continuing in between (as a picture blurred along its rows), may not get worse.
  const size_t scored = photos.size();
  std::vector<double> tolerance(scored, 0.0);
  photos.push_back({"smooth scene", quality::SmoothScene(512, 512)});
  photos.push_back({"vertical ramp", quality::VerticalRamp(256, 1024)});
  photos.push_back({"horizontal ramp", quality::HorizontalRamp(1024, 256)});
  tolerance.resize(photos.size(), kSmoothTolerance);
  photos.push_back({"horizontal edges", quality::HorizontalEdges(512, 512)});
  tolerance.push_back(0.0);
  Judge judge(photos, tolerance, scored, start);

  std::vector<Tried> tried, kept;  // every point, and those that keep the other constraints
  TableChoice best = start;
  Figures bestFigures = judge.Evaluate(best);
  bool found = judge.Feasible(best, bestFigures);
  Print(found ? "start" : "start!", best, bestFigures);
  auto consider = [&](const TableChoice& c) {
    const Figures f = judge.Evaluate(c);
    const bool rest = f.toneKept && f.worstGain >= 0 && f.meanBlock <= judge.baseBlock();
    tried.push_back({c, f});
    if (rest) kept.push_back({c, f});
    const bool better = f.meanPsnr > bestFigures.meanPsnr + kMinGain || !found;
    const bool taken = better && judge.Feasible(c, f);
    Print(taken ? "taken" : "point", c, f);
    if (taken) best = c, bestFigures = f, found = true;
    return taken;
  };

  // A map of the trade-off: the mid-tones pulled evenly, by keep and apart shares of 1, 0.5
  // and 0, with the mean dropped by 0 to 0.4, the pull fading to nothing at both ends.
  for (double pull : {1.0, 0.5, 0.0}) {
    if (!plan.mapTradeOff) break;
    for (double drop : {0.0, 0.1, 0.2, 0.3, 0.4}) {
      TableChoice c = start;
      RestartShaping& s = c.shaping;
      for (int i = 1; i + 1 < RestartShaping::kAnchors; ++i) {
        const double depth = i == RestartShaping::kAnchors / 2 ? 1.0 : 0.5;
        s.keep[i] = s.apart[i] = 1 - depth * (1 - pull);
        s.drop[i] = depth * drop;
      }
      consider(c);
    }
  }
  // Other cycles: a new seed for one cycle at a time.
  SplitMix64 random(plan.seed);
  for (int i = 0; i < plan.seedTrials; ++i) {
    TableChoice c = best;
    (i % 2 == 0 ? c.dotBiasSeed : c.weightSeed) = random.Next();
    consider(c);
  }
  // One shaping parameter at a time, either way; a move that helps is repeated.
  for (double step = 1; step >= kStepFloor && judge.evaluations() < plan.evaluations; step /= 2) {
    bool moved = true;
    while (moved && judge.evaluations() < plan.evaluations) {
      moved = false;
      for (size_t k = 0; k < CoordinatesOf(best).size(); ++k) {
        for (int direction : {+1, -1}) {
          while (judge.evaluations() < plan.evaluations) {
            TableChoice c = best;
            const Coordinate axis = CoordinatesOf(c)[k];
            const double was = *axis.value;
            *axis.value =
                std::min(std::max(was + direction * step * axis.unit, axis.low), axis.high);
            if (std::fabs(*axis.value - was) < 1e-9 || !consider(c)) break;
            moved = true;
          }
        }
      }
    }
  }
  PrintTradeOff("every point", tried);
  PrintTradeOff("tone, block error and no image worse kept", kept);
  if (!found) {
    std::printf("no choice meets the constraints\n");
    return false;
  }
  Print("chosen", best, bestFigures);
  *chosen = best;
  return true;
}

void ReportTableChoice(const TableChoice& start, const TableChoice& chosen,
                       const std::string& trainingFolder, const std::string& heldOutFolder) {
  const TableSet first = FirstTablesOf(start, FlatRunsOf(start));
  const TableSet tables = TablesOf(chosen, FlatRunsOf(chosen));
  PrintPhotographs("training", quality::Photographs(trainingFolder), first, tables);
  if (!heldOutFolder.empty()) {
    PrintPhotographs("held out", quality::Photographs(heldOutFolder), first, tables);
  }
}
