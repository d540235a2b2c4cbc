// A one-line progress bar on stderr for runs long enough to be worth watching.
#ifndef KORVEL_TOOL_PROGRESS_H
#define KORVEL_TOOL_PROGRESS_H

#include <cstdint>

class Progress {
 public:
  // A bar that draws nothing.
  Progress() = default;
  // Draws only when stderr is a terminal, the run is not quiet and the work covers at least
  // a few million pixels (smaller jobs finish before a bar could be read).
  Progress(bool quiet, int64_t pixels);
  ~Progress() { Finish(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Starts a named stage that fills the bar from fraction from to fraction to.
  void Stage(const char* name, double from, double to);
  // Reports done of total units of the current stage.
  void Advance(int64_t done, int64_t total);
  // Erases the bar.
  void Finish();

 private:
  void Draw(double fraction);

  bool enabled_ = false;
  bool drawn_ = false;
  const char* stage_ = "";
  double from_ = 0.0;
  double to_ = 0.0;
  int lastPermille_ = -1;
};

#endif
