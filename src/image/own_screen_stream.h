// A page of the caller's image through one of korvel's own screens, as packed rows: grey rows
// go in top to bottom, each through the tone curve of the error-diffusion screen to ink
// amounts, and packed rows come back in page order as the screen finishes them, possibly some
// rows later (Delay()). Holds one row of each kind and what the screen holds, never the page.
#ifndef KORVEL_IMAGE_OWN_SCREEN_STREAM_H
#define KORVEL_IMAGE_OWN_SCREEN_STREAM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/screening_state.h"
#include "image/own_screen.h"

enum class OwnScreenKind { kFine, kBest };

class OwnScreenStream {
 public:
  // Installs the tone curve of the error-diffusion screen of the caller's image into the state
  // (as the image call of that screen does) and begins a width x height page (both at least 1)
  // packed to 1 bit (drops.levels 2) or 2 bits (4).
  static std::unique_ptr<OwnScreenStream> Begin(ScreeningState& state, OwnScreenKind kind,
                                                const DropSet& drops, int width, int height);

  int Delay() const { return screen_->Delay(); }
  // Rows of the page not yet taken.
  int RowsLeft() const { return rowsLeft_; }
  // Bytes of a packed output row: ((width * bits + 31) >> 5) * 4.
  size_t PackedRowBytes() const { return packedRowBytes_; }

  // Take the page's next grey row (width bytes, 255 white). Needs RowsLeft() > 0.
  void TakeRow(const unsigned char* greyRow);
  // Write the next finished row, PackedRowBytes() bytes: most significant pixel first, a dot a
  // set bit at 1 bit; at 2 bits the code of each drop (0 none, 1 small, 2 medium, 3 large) as
  // the 2-bit dot screens write them; pixels past the width and the bytes after them 0. False,
  // writing nothing, when no row is finished yet.
  bool GiveRow(unsigned char* packedRow);

 private:
  OwnScreenStream(std::unique_ptr<OwnScreen> screen, const int32_t* toneCurve, int levels,
                  int width, int height);

  std::unique_ptr<OwnScreen> screen_;
  int bits_;
  int width_;
  int rowsLeft_;
  size_t packedRowBytes_;
  uint16_t amountOfGrey_[256];
  // The packers' dot level (0 large .. 255 none) of each drop level of the screen.
  uint8_t dotLevelOfDrop_[4];
  std::vector<uint16_t> amounts_;  // the row being taken
  // The row being given: drop levels, then dot levels for the packers; the 8-bit row's padding
  // past the width stays no dot.
  std::vector<uint8_t> levels_;
};

#endif
