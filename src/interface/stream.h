// What a korvel_stream holds: the row stream of one of the image screens of the caller's image
// or of one of korvel's own screens, and the rows it copies through when the host's strides
// are narrower than the packed rows.
#ifndef KORVEL_INTERFACE_STREAM_H
#define KORVEL_INTERFACE_STREAM_H

#include <korvel/korvel_context.h>

#include <cstddef>
#include <memory>

#include "image/image_row_stream.h"
#include "image/own_screen_stream.h"
#include "image/strided_rows.h"

struct korvel_stream {
  korvel_stream(int width, int bits);

  int Delay() const { return own ? own->Delay() : 0; }
  int RowsLeft() const { return own ? own->RowsLeft() : rows->RowsLeft(); }

  // Exactly one of the two is set.
  std::unique_ptr<ImageRowStream> rows;
  std::unique_ptr<OwnScreenStream> own;
  int width;
  int bits;
  // The rows between the host's strides and the packed rows the screens work on.
  StridedRows strided;
};

// Feed `rows` source rows to a stream whose checks have passed and write the output rows they
// finish from `output` on, at most `capacity` of them; returns how many were written.
int FeedStream(korvel_stream& stream, const unsigned char* source, size_t sourceStride, int rows,
               unsigned char* output, size_t outputStride, int capacity);

#endif
