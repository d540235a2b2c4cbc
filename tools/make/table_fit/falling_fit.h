// The closest non-increasing sequence to a row of figures, for the table generators whose
// tables must have falling row means and shares.
#ifndef KORVEL_TOOLS_TABLE_FIT_FALLING_FIT_H
#define KORVEL_TOOLS_TABLE_FIT_FALLING_FIT_H

#include <cstddef>
#include <vector>

// Least-squares closest non-increasing sequence (pool adjacent violators): runs that rise are
// merged into their mean until nothing rises.
inline std::vector<double> FallingFit(const std::vector<double>& values) {
  std::vector<double> level;
  std::vector<int> count;
  for (double v : values) {
    level.push_back(v);
    count.push_back(1);
    while (level.size() > 1 && level[level.size() - 2] < level.back()) {
      const size_t n = level.size();
      level[n - 2] = (level[n - 2] * count[n - 2] + level[n - 1] * count[n - 1]) /
                     (count[n - 2] + count[n - 1]);
      count[n - 2] += count[n - 1];
      level.pop_back();
      count.pop_back();
    }
  }
  std::vector<double> fit;
  for (size_t i = 0; i < level.size(); ++i) fit.insert(fit.end(), count[i], level[i]);
  return fit;
}

#endif
