// What the TIFF reader and writers share: libtiff reports problems through process-wide
// handlers, and the tool reads and writes TIFF files on its main thread only, so the last error
// message is kept here for the tool's own message.
#ifndef KORVEL_TOOL_TIFF_SUPPORT_H
#define KORVEL_TOOL_TIFF_SUPPORT_H

#include <tiffio.h>

#include <memory>
#include <string>

class PendingFile;

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// Installs the handlers (warnings are dropped) and forgets the last error.
void CatchTiffMessages();
// "module: message" of the last error since CatchTiffMessages.
const std::string& LastTiffError();

using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;
// Takes over the pending file's descriptor and opens a TIFF for writing on it, after
// CatchTiffMessages; throws a ToolError naming the file when libtiff cannot.
TiffHandle OpenTiffForWriting(PendingFile& file);

#endif
