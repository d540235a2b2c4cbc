// The version the library was built as, for hosts to compare with the headers they saw.
#include <korvel/korvel_context.h>

unsigned korvel_version(void) {
  return KORVEL_VERSION_NUMBER;
}
