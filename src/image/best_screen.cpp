// Placeholder of the best screen: the fine screen given back eight rows late (to be replaced
// by the windowed search).
#include <deque>
#include <vector>

#include "image/own_screen.h"

namespace {

class DelayedFine final : public OwnScreen {
 public:
  DelayedFine(int width, int height, const DropSet& drops)
      : width_(width), height_(height), fine_(MakeFineScreen(width, height, drops)) {}

  int Delay() const override { return kDelay; }

  void TakeRow(const uint16_t* amounts) override {
    fine_->TakeRow(amounts);
    std::vector<uint8_t> row(static_cast<size_t>(width_));
    while (fine_->GiveRow(row.data())) rows_.push_back(row);
    ++taken_;
  }

  bool GiveRow(uint8_t* levels) override {
    const bool finished = taken_ == height_ || static_cast<int>(rows_.size()) > kDelay;
    if (rows_.empty() || !finished) return false;
    std::copy(rows_.front().begin(), rows_.front().end(), levels);
    rows_.pop_front();
    return true;
  }

 private:
  static constexpr int kDelay = 8;
  int width_, height_;
  int taken_ = 0;
  std::unique_ptr<OwnScreen> fine_;
  std::deque<std::vector<uint8_t>> rows_;
};

}  // namespace

std::unique_ptr<OwnScreen> MakeBestScreen(int width, int height, const DropSet& drops) {
  return std::make_unique<DelayedFine>(width, height, drops);
}
