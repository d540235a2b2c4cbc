// The best screen: the fine screen's halftone improved by a search that minimises the
// eye-filtered error directly (search_window.h) under the best screen's own eye and its mid-tone
// term (eye_correlation.h), on a window that moves down the page kBand rows at a time. A window
// searches kBand + kLookahead rows; its top kBand rows are then finished and given back, the rows
// below it are searched again in the next window with the rows that entered since. The page's last
// row finishes every row. What happens depends only on how many rows have entered, so a page
// streamed in bands of any height equals the page screened whole.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "image/eye_correlation.h"
#include "image/own_screen.h"
#include "image/search_window.h"

namespace {

constexpr int kBand = 32;
constexpr int kLookahead = 16;
constexpr int kMaxSweeps = 4;
static_assert(kBand % SearchWindow::kTile == 0 && kLookahead % SearchWindow::kTile == 0,
              "the window moves by whole tiles");

// The halftone of a start screen searched under an eye model on the moving window.
class SearchedScreen final : public OwnScreen {
 public:
  SearchedScreen(int width, int height, const DropSet& drops, std::unique_ptr<OwnScreen> start,
                 const EyeCorrelation& eye, const MidToneEye& midTone, const EndToneEye& endTone,
                 int maxSweeps)
      : width_(width),
        height_(height),
        start_(std::move(start)),
        window_(width, drops, eye, kBand + kLookahead, maxSweeps, midTone, endTone),
        pending_(static_cast<size_t>(start_->Delay() + 1) * width),
        startLevels_(static_cast<size_t>(width)),
        finished_(static_cast<size_t>(kBand + kLookahead) * width) {}

  int Delay() const override { return start_->Delay() + kBand + kLookahead - 1; }

  void TakeRow(const uint16_t* amounts) override {
    std::copy(amounts, amounts + width_, PendingRow(taken_));
    ++taken_;
    start_->TakeRow(amounts);
    while (start_->GiveRow(startLevels_.data())) EnterRow();
  }

  bool GiveRow(uint8_t* levels) override {
    if (given_ == finishedEnd_) return false;
    const uint8_t* row = finished_.data() + static_cast<size_t>(given_ - finishedBegin_) * width_;
    std::copy(row, row + width_, levels);
    ++given_;
    return true;
  }

 private:
  uint16_t* PendingRow(int row) {
    return pending_.data() + static_cast<size_t>(row % (start_->Delay() + 1)) * width_;
  }

  void EnterRow() {
    window_.EnterRow(PendingRow(entered_), startLevels_.data());
    ++entered_;
    if (entered_ == height_) {
      window_.Search();
      Finish(window_.ActiveRows());
    } else if (window_.ActiveRows() == kBand + kLookahead) {
      window_.Search();
      Finish(kBand);
    }
  }

  // The window's top rows are finished: they wait in finished_ until given back (a host
  // takes them all before the next window finishes more).
  void Finish(int rows) {
    const int unread = finishedEnd_ - given_;
    const size_t keep = static_cast<size_t>(unread) * width_;
    std::copy(finished_.begin() + static_cast<ptrdiff_t>((given_ - finishedBegin_) * width_),
              finished_.begin() + static_cast<ptrdiff_t>((finishedEnd_ - finishedBegin_) * width_),
              finished_.begin());
    finishedBegin_ = given_;
    if (finished_.size() < keep + static_cast<size_t>(rows) * width_)
      finished_.resize(keep + static_cast<size_t>(rows) * width_);
    for (int i = 0; i < rows; ++i)
      std::copy(window_.ActiveLevels(i), window_.ActiveLevels(i) + width_,
                finished_.begin() + static_cast<ptrdiff_t>(keep + static_cast<size_t>(i) * width_));
    finishedEnd_ += rows;
    window_.Retire(rows);
  }

  int width_, height_;
  std::unique_ptr<OwnScreen> start_;
  SearchWindow window_;
  std::vector<uint16_t> pending_;     // amounts of the rows the start screen still holds
  std::vector<uint8_t> startLevels_;  // the start screen's row entering the window
  std::vector<uint8_t> finished_;     // finished rows finishedBegin_ .. finishedEnd_ - 1
  int taken_ = 0, entered_ = 0;
  int finishedBegin_ = 0, finishedEnd_ = 0, given_ = 0;
};

}  // namespace

std::unique_ptr<OwnScreen> MakeBestScreen(int width, int height, const DropSet& drops) {
  return std::make_unique<SearchedScreen>(
      width, height, drops, MakeFineScreen(width, height, drops), BestEyeCorrelation(),
      BestMidToneEye(), BestEndToneEye(), kMaxSweeps);
}
