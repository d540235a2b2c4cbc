// The choices a job makes in the printer's PPD: the PPD's defaults with the job's options
// marked on top, as the scheduler hands them to a filter.
#ifndef KORVEL_FILTER_PPD_CHOICES_H
#define KORVEL_FILTER_PPD_CHOICES_H

#include <cups/cups.h>

#include <map>
#include <string>
#include <vector>

// The chosen value of each of `keywords` the PPD at `path` has (a keyword the PPD lacks is left
// out). Throws ToolError when the PPD cannot be read.
std::map<std::string, std::string> MarkedPpdChoices(const std::string& path,
                                                    const std::vector<std::string>& keywords,
                                                    int optionCount, cups_option_t* options);

#endif
