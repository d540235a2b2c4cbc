// The restart tables: for every target bucket, a window of 256 steady-state pixel states of a
// long flat run, chosen to carry the run's tone, shaped by the restart shaping below, with the
// fixed rows and ranges imposed.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_RESTART_TABLES_H
#define KORVEL_TOOLS_ED_TABLES_GEN_RESTART_TABLES_H

#include <vector>

#include "steady_state.h"
#include "table_set.h"

// The target whose flat run stands for a bucket: the bucket itself below 10, otherwise the
// lowest target of the bucket (the one an 8-bit grey level maps to).
int RepresentativeTarget(int bucket);

// How far a window's errors are pulled together. `keep` is the share of each pixel's distance
// from the mean error of the pixels that decided as it did (dots, or empty pixels) that stays;
// `apart` the share of the distance of those two class means from the window's mean (1 keeps
// the steady state, 0 pulls all the way); `drop` the share of the window's mean that is taken
// away (0 keeps the steady mean). Where single pixels of a photograph restart, the error they
// would have carried on with lies on average about half-way between the steady mean and 0.
// All are given at kAnchors targets evenly spread from 0 to the scale's end (2551) and are
// linear in between.
// Every pixel keeps the decision it had in the steady run: where the pulled error would change
// it, the pixel's bias (within the bias range) and, failing that, the error move just far
// enough to keep it. Of the windows closest to a bucket's long-run figures, the one that
// costs least is kept, where a point of row distance beyond `rowsFree` (rows after a restart
// against the steady coverage) costs `rowWeight` units of window distance.
struct RestartShaping {
  static constexpr int kAnchors = 5;
  double keep[kAnchors] = {1, 1, 1, 1, 1};
  double apart[kAnchors] = {1, 1, 1, 1, 1};
  double drop[kAnchors] = {0, 0, 0, 0, 0};
  double rowsFree = 1.0;
  double rowWeight = 8.0;
  double KeepAt(int target) const;
  double ApartAt(int target) const;
  double DropAt(int target) const;
};

// The long flat runs the windows come from, one per bucket (1..264), and what each bucket's
// window should carry. Slow; made once and shared by every shaping tried.
struct FlatRuns {
  std::vector<SteadyState> runs;
  std::vector<double> dots, meanError, zeroBiasShare;
};
FlatRuns RunFlatRuns(const TableSet& tables);

// Fill tables.restartError and tables.restartBias from the runs with the given shaping. Among
// the windows closest to a bucket's long-run figures, the one whose restarted rows keep the
// steady coverage best is taken; judgeRows false takes the closest window alone (how the
// tables were first made, the baseline of the search).
void BuildRestartTables(TableSet& tables, const FlatRuns& runs, const RestartShaping& shaping,
                        bool judgeRows = true);

// Print the long-run statistics of every bucket (a look at what the tables are built from).
void PrintSteadyStateStatistics(const FlatRuns& runs);

#endif
