// Placeholder factories, replaced as the mask subsystem lands.
#include <korvel/korvel.h>

IDitherMaskGenerator* DitherMaskGenerator_Create(void) { return nullptr; }
void DitherMaskGenerator_Delete(IDitherMaskGenerator* object) { delete object; }
IBufferProc* BufferProc_Create(void) { return nullptr; }
void BufferProc_Delete(IBufferProc* object) { delete object; }
