// The generator is built without the knobs it writes, so the library's trained fine screen is
// not there to be had: every screen the generator runs is made with the trial knobs it judges.
// A path that still reaches for the trained screen stops the program instead of judging
// something else.
#include <cstdio>
#include <cstdlib>

#include "image/fine_screen.h"

namespace {

[[noreturn]] void RefuseTrainedKnobs() {
  std::fprintf(stderr,
               "fine_tables_gen: a screen asked for the trained knobs, which the generator is "
               "built without; make it with the trial knobs\n");
  std::abort();
}

}  // namespace

const FineTones& FineTonesFor(const DropSet&) {
  RefuseTrainedKnobs();
}

std::unique_ptr<OwnScreen> MakeFineScreen(int, int, const DropSet&) {
  RefuseTrainedKnobs();
}
