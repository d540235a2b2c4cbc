// Placeholder of the fine screen: a serpentine Floyd-Steinberg diffusion to the drop levels
// (to be replaced by the trained screen).
#include <algorithm>
#include <vector>

#include "image/own_screen.h"

namespace {

class SerpentineDiffusion final : public OwnScreen {
 public:
  SerpentineDiffusion(int width, const DropSet& drops)
      : width_(width), drops_(drops), next_(width + 2), current_(width + 2), out_(width) {}

  int Delay() const override { return 0; }

  void TakeRow(const uint16_t* amounts) override {
    std::swap(current_, next_);
    std::fill(next_.begin(), next_.end(), 0);
    const bool leftward = (row_++ & 1) != 0;
    for (int i = 0; i < width_; ++i) {
      const int x = leftward ? width_ - 1 - i : i;
      const int step = leftward ? -1 : 1;
      const int want = amounts[x] * 16 + current_[x + 1];
      int level = 0;
      for (int l = 1; l < drops_.levels; ++l)
        if (2 * want >= (drops_.ink[l - 1] + drops_.ink[l]) * 16) level = l;
      out_[x] = static_cast<uint8_t>(level);
      const int error = want - drops_.ink[level] * 16;
      current_[x + 1 + step] += error * 7 / 16;
      next_[x + 1 - step] += error * 3 / 16;
      next_[x + 1] += error * 5 / 16;
      next_[x + 1 + step] += error / 16;
    }
    ready_ = true;
  }

  bool GiveRow(uint8_t* levels) override {
    if (!ready_) return false;
    std::copy(out_.begin(), out_.end(), levels);
    ready_ = false;
    return true;
  }

 private:
  int width_;
  DropSet drops_;
  std::vector<int> next_, current_;
  std::vector<uint8_t> out_;
  int row_ = 0;
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<OwnScreen> MakeFineScreen(int width, int /*height*/, const DropSet& drops) {
  return std::make_unique<SerpentineDiffusion>(width, drops);
}
