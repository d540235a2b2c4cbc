#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr int64_t kPixelsWorthABar = 4 << 20;
constexpr int kBarWidth = 30;

}  // namespace

Progress::Progress(bool quiet, int64_t pixels)
    : enabled_(!quiet && pixels >= kPixelsWorthABar && isatty(STDERR_FILENO)) {}

void Progress::Stage(const char* name, double from, double to) {
  stage_ = name;
  from_ = from;
  to_ = to;
  lastPermille_ = -1;
  Draw(from);
}

void Progress::Advance(int64_t done, int64_t total) {
  if (!enabled_ || total <= 0) return;
  Draw(from_ + (to_ - from_) * static_cast<double>(done) / static_cast<double>(total));
}

void Progress::Draw(double fraction) {
  if (!enabled_) return;
  const int permille = static_cast<int>(fraction * 1000.0);
  if (permille == lastPermille_) return;  // redraw only when the figure changes
  lastPermille_ = permille;
  char bar[kBarWidth + 1];
  const int filled = permille * kBarWidth / 1000;
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\r\033[Kkorvel [%s] %3d%% %s", bar, permille / 10, stage_);
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Finish() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}
