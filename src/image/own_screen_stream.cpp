#include "image/own_screen_stream.h"

#include <cstring>

#include "config/tone_curve.h"
#include "core/raster_geometry.h"
#include "image/image_packing.h"
#include "image/template_types.h"
#include "image/tone_target.h"

namespace {

constexpr uint8_t kNoDotLevel = 255;

std::unique_ptr<OwnScreen> MakeOwnScreen(OwnScreenKind kind, int width, int height,
                                         const DropSet& drops) {
  return kind == OwnScreenKind::kFine ? MakeFineScreen(width, height, drops)
                                      : MakeBestScreen(width, height, drops);
}

}  // namespace

std::unique_ptr<OwnScreenStream> OwnScreenStream::Begin(ScreeningState& state, OwnScreenKind kind,
                                                        const DropSet& drops, int width,
                                                        int height) {
  SetupToneCurve(state, kImageType);
  return std::unique_ptr<OwnScreenStream>(new OwnScreenStream(
      MakeOwnScreen(kind, width, height, drops), state.toneCurve, drops.levels, width, height));
}

OwnScreenStream::OwnScreenStream(std::unique_ptr<OwnScreen> screen, const int32_t* toneCurve,
                                 int levels, int width, int height)
    : screen_(std::move(screen)),
      bits_(levels == 2 ? 1 : 2),
      width_(width),
      rowsLeft_(height),
      packedRowBytes_(static_cast<size_t>(RowStride(width, bits_))),
      amounts_(static_cast<size_t>(width)),
      levels_(static_cast<size_t>(RowStride(width, 8)), kNoDotLevel) {
  for (int grey = 0; grey < 256; ++grey)
    amountOfGrey_[grey] = static_cast<uint16_t>(ToneTargetOfGrey(toneCurve, grey));
  // The packers read 0 as the largest drop and 255 as none, in steps of 85 at 2 bits.
  const int step = bits_ == 1 ? 255 : 85;
  for (int drop = 0; drop < 4; ++drop)
    dotLevelOfDrop_[drop] = static_cast<uint8_t>(drop < levels ? 255 - step * drop : 0);
  if (bits_ == 2) BuildPackTables();
}

void OwnScreenStream::TakeRow(const unsigned char* greyRow) {
  for (int x = 0; x < width_; ++x) amounts_[x] = amountOfGrey_[greyRow[x]];
  screen_->TakeRow(amounts_.data());
  --rowsLeft_;
}

bool OwnScreenStream::GiveRow(unsigned char* packedRow) {
  if (!screen_->GiveRow(levels_.data())) return false;
  for (int x = 0; x < width_; ++x) levels_[x] = dotLevelOfDrop_[levels_[x]];
  if (bits_ == 1) {
    PackOneBitRow(levels_.data(), width_, packedRow);
    return true;
  }
  PackTwoBitRow(levels_.data(), width_, packedRow);
  const size_t packed = static_cast<size_t>((width_ - 1) / 4 + 1);
  std::memset(packedRow + packed, 0, packedRowBytes_ - packed);
  return true;
}
