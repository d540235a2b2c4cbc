// The built-in table set of the template diffusion.
#include "template/restart_tables.h"

const TemplateTables& BuiltInTemplateTables() {
  static const TemplateTables tables = {g_restartError, g_restartBias, g_restartFlag,
                                        g_lightResetError, g_lightDotSpacing};
  return tables;
}
