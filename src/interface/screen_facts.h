// What a screen does with a context's settings, as korvel_screen_facts tells the hosts.
#ifndef KORVEL_INTERFACE_SCREEN_FACTS_H
#define KORVEL_INTERFACE_SCREEN_FACTS_H

#include <korvel/korvel_context.h>

// Fills the facts of korvel's own screens (their options already checked): KORVEL_OK, or
// KORVEL_ERROR_ARGUMENT for a facts size the library does not know.
korvel_status DescribeOwnScreen(korvel_screen_facts* facts);

#endif
