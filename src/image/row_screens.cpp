#include "image/row_screens.h"

#include <cstdint>
#include <vector>

#include "image/dot_ditherers.h"
#include "image/error_diffusion_kernel.h"
#include "image/template_types.h"
#include "image/threshold_matrices.h"
#include "template/level_image_diffusion.h"
#include "template/row_packers.h"

namespace {

constexpr uint32_t kMatrixOffset = 321;  // starts the 257 matrix at row and column 64

class ErrorDiffusionRows : public RowScreen {
 public:
  ErrorDiffusionRows(const ScreeningState& state, int width) : diffusion_(width, state.toneCurve) {}
  void ScreenRow(const unsigned char* in, unsigned char* out) override {
    diffusion_.DiffuseRow(nextRow_++, in, out);
  }

 private:
  ImageErrorDiffusion diffusion_;
  int nextRow_ = 0;
};

// The grey levels are level indices as they are; a dot is written 255 and no dot 0, which the
// engine keeps as the dot levels "none" and "only dot".
class TemplateDiffusionRows : public RowScreen {
 public:
  TemplateDiffusionRows(const ScreeningState& state, int width)
      : width_(width), diffusion_(state, width, false), dots_(static_cast<size_t>(width) + 8) {
    state.random.SeedFromClock();
  }
  void ScreenRow(const unsigned char* in, unsigned char* out) override {
    diffusion_.NextRow(in, dots_.data());
    PackDotRow(dots_.data(), width_, 8, out);
  }

 private:
  int width_;
  LevelImageDiffusion diffusion_;
  std::vector<uint8_t> dots_;
};

class DotRows : public RowScreen {
 public:
  DotRows(const uint8_t* table, int width) : table_(table), width_(width) {}
  void ScreenRow(const unsigned char* in, unsigned char* out) override {
    ScreenDotRows(in, out, width_, 1, rowPhase_++, table_);
  }
  bool SetsHostThreads() const override { return true; }

 private:
  const uint8_t* table_;
  int width_;
  uint32_t rowPhase_ = 0;
};

// Row y of a whole raster reads matrix row (offset + y) mod 257: the same row as a raster of
// one row whose row offset is y.
class MatrixRows : public RowScreen {
 public:
  explicit MatrixRows(int width) : width_(width) {}
  void ScreenRow(const unsigned char* in, unsigned char* out) override {
    CDitherBase(g_thresholdMatrix257, nextRow_++, kMatrixOffset, 1).Dither(in, out, width_, 1);
  }

 private:
  int width_;
  uint32_t nextRow_ = 0;
};

}  // namespace

std::unique_ptr<RowScreen> MakeRowScreen(const ScreeningState& state, int templateType, int width) {
  if (state.useTemplateDiffusion) return std::make_unique<TemplateDiffusionRows>(state, width);
  if (std::unique_ptr<RowScreen> dots = MakeDotRowScreen(templateType, width)) return dots;
  if (templateType == kMatrixType) return std::make_unique<MatrixRows>(width);
  return std::make_unique<ErrorDiffusionRows>(state, width);
}

std::unique_ptr<RowScreen> MakeDotRowScreen(int templateType, int width) {
  const uint8_t* table = DotScreenTable(templateType);
  if (table == nullptr) return nullptr;
  return std::make_unique<DotRows>(table, width);
}
