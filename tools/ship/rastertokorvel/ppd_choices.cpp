#include "ppd_choices.h"

#include <cups/ppd.h>

#include <memory>

#include "tool_error.h"

// libcups marks the PPD interface deprecated in favour of the IPP destination interface, but a
// filter is handed a PPD and this interface is how it reads one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

struct PpdCloser {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

}  // namespace

std::map<std::string, std::string> PpdDefaultChoices(const std::string& path,
                                                     const std::vector<std::string>& keywords) {
  const std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(path.c_str()));
  if (!ppd) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    throw ToolError("cannot read the PPD " + path + ": " + ppdErrorString(status) + " on line " +
                    std::to_string(line));
  }
  std::map<std::string, std::string> defaults;
  for (const std::string& keyword : keywords)
    if (const ppd_option_t* option = ppdFindOption(ppd.get(), keyword.c_str()))
      defaults[keyword] = option->defchoice;
  return defaults;
}

#pragma GCC diagnostic pop
