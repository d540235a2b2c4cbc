// The restart flag and the two tables of the lightest amounts (3..22).
#include "template/restart_tables.h"

// Restarted columns carry a damping mark on every even restart counter.
const uint8_t g_restartFlag[kRestartColumns] = {
#define KORVEL_FLAGS_16 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0
    KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16,
    KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16,
    KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16,
    KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16, KORVEL_FLAGS_16,
#undef KORVEL_FLAGS_16
};

// Error a light run is pulled towards, and after how many pixels from its dot, per amount.
const int32_t g_lightResetError[256] = {
    0,    0,    0,    -219, -206, -269, -260, -255, -247, -289, -310, -257,
    -163, -171, -271, -319, -196, -388, -251, -343, -168, -174, -208,
};
const int32_t g_lightDotSpacing[256] = {
    0, 0, 0, 14, 14, 14, 11, 13, 11, 10, 12, 9, 9, 8, 8, 9, 9, 9, 8, 8, 8, 7, 7,
};
