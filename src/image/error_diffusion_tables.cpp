// The built-in table set of the image error-diffusion screen.
#include "image/error_diffusion_tables.h"

const ErrorDiffusionTables& BuiltInErrorDiffusionTables() {
  static const ErrorDiffusionTables tables = {
      g_imgRestartError,     g_imgRestartBias,      g_imgDotBias,
      g_imgAheadWeightCycle, g_imgBelowWeightCycle, g_imgLightWeightA,
      g_imgLightWeightB,     g_imgLightDotSpacing,  g_imgLightResetError};
  return tables;
}
