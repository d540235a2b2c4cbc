// The plain-C factories through which hosts create and destroy the mask objects. A mask
// generator made here resets the process-wide level table when it loads a mask.
#include <korvel/korvel.h>

#include <new>

#include "interface/globals.h"
#include "mask/buffer_proc.h"
#include "mask/dither_mask_generator.h"

IDitherMaskGenerator* DitherMaskGenerator_Create(void) {
  return new (std::nothrow) CDitherMaskGenerator(&g_defaultState);
}

void DitherMaskGenerator_Delete(IDitherMaskGenerator* object) {
  delete object;
}

IBufferProc* BufferProc_Create(void) {
  return new (std::nothrow) CBufferProc();
}

void BufferProc_Delete(IBufferProc* object) {
  delete object;
}
