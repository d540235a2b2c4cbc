// One ink of a page on its way through the library's row stream: a screening context with the
// ink's quality level, tone curve and parameter folder, and the stream begun on it.
#ifndef KORVEL_FILTER_INK_STREAM_H
#define KORVEL_FILTER_INK_STREAM_H

#include <korvel/korvel_context.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "filter_settings.h"
#include "screening_context.h"

class InkStream {
 public:
  // Throws ToolError when the library refuses the settings, among them a screen that does not
  // stream (KORVEL_ERROR_NOT_STREAMABLE).
  InkStream(const FilterSettings& settings, char ink, int width, int height);

  // How many rows the screened rows lag the grey rows (korvel_stream_get_delay): 0 but for the
  // best screen.
  int Delay() const { return delay_; }

  // Screens the next `rows` rows of grey samples into packed dot codes: writes the rows that
  // are finished, at most rows + Delay() (all that are left once the page's last row is in),
  // and returns how many.
  int Screen(const uint8_t* grey, size_t greyStride, uint8_t* dots, size_t dotStride, int rows);

 private:
  korvel_status BeginStream(const FilterSettings& settings, int width, int height,
                            korvel_stream** begun);

  struct StreamDeleter {
    void operator()(korvel_stream* stream) const { korvel_stream_destroy(stream); }
  };
  Context context_;
  std::unique_ptr<korvel_stream, StreamDeleter> stream_;
  int delay_ = 0;
};

#endif
