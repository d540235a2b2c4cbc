// One exported image call (1 or 2 bits) into a fresh output buffer pre-filled with 0xA5,
// expecting the call to accept its arguments.
#ifndef KORVEL_TESTS_SUPPORT_IMAGE_CALL_H
#define KORVEL_TESTS_SUPPORT_IMAGE_CALL_H

#include "support/raster.h"

namespace test {

Bytes ImageCall(int bits, Bytes image, int width, int height, int type, int cellWidth,
                int cellHeight, int mode, bool templateDiffusion);

}  // namespace test

#endif
