// What the TIFF reader and writers share: libtiff reports problems through process-wide
// handlers, and the tool reads and writes TIFF files on its main thread only, so the last error
// message is kept here for the tool's own message.
#ifndef KORVEL_TOOL_TIFF_SUPPORT_H
#define KORVEL_TOOL_TIFF_SUPPORT_H

#include <tiffio.h>

#include <string>

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// Installs the handlers (warnings are dropped) and forgets the last error.
void CatchTiffMessages();
// "module: message" of the last error since CatchTiffMessages.
const std::string& LastTiffError();

#endif
