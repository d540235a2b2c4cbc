// Tone curves: built per template type from the quality level's parameter file and installed
// into the state's tone curve (read by the error-diffusion screen) and level-to-amount table
// (read by the template generators).
#ifndef KORVEL_CONFIG_TONE_CURVE_H
#define KORVEL_CONFIG_TONE_CURVE_H

#include "core/screening_state.h"

// Rebuild the tone curve and the level table of the state for a template type at the state's
// quality level.
void SetupToneCurve(ScreeningState& state, int templateType);

#endif
