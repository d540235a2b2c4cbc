// The messages of the context interface's status codes.
#include <korvel/korvel_context.h>

const char* korvel_strerror(korvel_status status) {
  switch (status) {
    case KORVEL_OK:
      return "success";
    case KORVEL_ERROR_NULL_CONTEXT:
      return "the context or stream handle is null";
    case KORVEL_ERROR_NULL_BUFFER:
      return "a source, output or argument pointer is null";
    case KORVEL_ERROR_SIZE:
      return "width, height or cell size out of range";
    case KORVEL_ERROR_STRIDE:
      return "a stride is smaller than one row of the raster needs";
    case KORVEL_ERROR_LEVEL:
      return "the template level is outside 0..100 percent";
    case KORVEL_ERROR_TONE_CURVE:
      return "a tone curve needs 3 to 2551 points, each 0..100 percent";
    case KORVEL_ERROR_FOLDER:
      return "the parameter folder makes a file path longer than 255 characters";
    case KORVEL_ERROR_MASK:
      return "the stored threshold mask is malformed";
    case KORVEL_ERROR_NO_MASK:
      return "no threshold mask is loaded";
    case KORVEL_ERROR_ARGUMENT:
      return "an argument is out of range (bits, plane count, mask plane or step)";
    case KORVEL_ERROR_NOT_STREAMABLE:
      return "only the 1-bit error-diffusion screen of the caller's image streams by rows";
    case KORVEL_ERROR_STREAM_END:
      return "the band reaches past the last row of the page";
    case KORVEL_ERROR_NO_MEMORY:
      return "out of memory";
    case KORVEL_ERROR_PARAMETER_FILE:
      return "the quality level's parameter file is missing or unusable";
    case KORVEL_ERROR_STREAM_DELAY:
      return "this stream gives rows back later: use korvel_stream_feed";
  }
  return "unknown status";
}
