/*
 * The version of the korvel headers. A host compares KORVEL_VERSION_NUMBER with
 * korvel_version() (korvel_context.h) to learn whether the library it runs on is at least the
 * one it was built against: releases with the same major number keep every interface of the
 * older ones. The build reads the version from here.
 */
#ifndef KORVEL_KORVEL_VERSION_H
#define KORVEL_KORVEL_VERSION_H

#define KORVEL_VERSION_MAJOR 1
#define KORVEL_VERSION_MINOR 1
#define KORVEL_VERSION_PATCH 0
#define KORVEL_VERSION_STRING "1.1.0"
/* major * 10000 + minor * 100 + patch */
#define KORVEL_VERSION_NUMBER \
  (KORVEL_VERSION_MAJOR * 10000 + KORVEL_VERSION_MINOR * 100 + KORVEL_VERSION_PATCH)

#endif /* KORVEL_KORVEL_VERSION_H */
