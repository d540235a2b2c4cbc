// The default choices of the printer's PPD, which hold the queue's defaults: the scheduler
// writes them into the copy of the PPD it hands to the filter.
#ifndef KORVEL_FILTER_PPD_CHOICES_H
#define KORVEL_FILTER_PPD_CHOICES_H

#include <map>
#include <string>
#include <vector>

// The default choice of each of `keywords` the PPD at `path` has (a keyword the PPD lacks is
// left out). Throws ToolError when the PPD cannot be read.
std::map<std::string, std::string> PpdDefaultChoices(const std::string& path,
                                                     const std::vector<std::string>& keywords);

#endif
