// Failures the tool reports as one line on stderr before it exits.
#ifndef KORVEL_TOOL_TOOL_ERROR_H
#define KORVEL_TOOL_TOOL_ERROR_H

#include <stdexcept>
#include <string>

// A failure of the work itself (unreadable input, unwritable output, refused call): exit 1.
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line the tool cannot act on (unknown command or option, bad value): exit 2.
class UsageError : public ToolError {
 public:
  using ToolError::ToolError;
};

#endif
