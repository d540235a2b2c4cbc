// The library's verdict on the parameter file a context's settings choose.
#ifndef KORVEL_INTERFACE_PARAMETER_FILE_STATUS_H
#define KORVEL_INTERFACE_PARAMETER_FILE_STATUS_H

#include <korvel/korvel_context.h>

#include <string>

// KORVEL_OK when image calls at the (bucketed) quality level, with the folder and with or
// without a curve of their own, read no file curve or the level's file in the folder holds a
// usable one; KORVEL_ERROR_PARAMETER_FILE otherwise. The settings calls ask this of the setting
// they are about to make, so that a failure here changes nothing. May throw std::bad_alloc.
korvel_status ParameterFileStatus(int qualityLevel, const std::string& folder, bool ownCurve);

#endif
