// KORVEL_Init and KORVEL_UnInit: the start and stop of a host's use of the library.
#include <korvel/korvel.h>

#include "interface/globals.h"

int KORVEL_Init(int level) {
  g_defaultState.qualityLevel = BucketQualityLevel(level);
  g_defaultState.ResetLevelAmount();
  return 1;
}

// Every call releases its scratch memory before it returns and the mask objects belong to the
// host, so there is nothing to release here; the process-wide state is left as it is.
int KORVEL_UnInit() {
  return 1;
}
