// What a korvel_context holds: a screening state of its own (with its own pattern generator)
// and the threshold mask loaded into it. Nothing here is shared between contexts.
#ifndef KORVEL_INTERFACE_CONTEXT_H
#define KORVEL_INTERFACE_CONTEXT_H

#include <korvel/korvel_context.h>

#include <memory>
#include <new>

#include "core/screening_state.h"
#include "mask/dither_mask_generator.h"

struct korvel_context {
  korvel_context() : state(PatternRandom::Source::kOwn), mask(&state) { state.ResetLevelAmount(); }

  ScreeningState state;
  CDitherMaskGenerator mask;  // resets this context's level table when it loads a mask
};

// Run a context operation, turning a failed allocation into a status: no exception leaves the
// C interface.
template <class Operation>
korvel_status Guarded(Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return KORVEL_ERROR_NO_MEMORY;
  }
}

#endif
