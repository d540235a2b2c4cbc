// The filter's messages to the scheduler: "ERROR: ", "INFO: ", "DEBUG: ", "ATTR: " and "PAGE: "
// lines on standard error, which the scheduler logs, shows with the job or counts.
#ifndef KORVEL_FILTER_FILTER_LOG_H
#define KORVEL_FILTER_FILTER_LOG_H

#include <cstdio>
#include <string>

class FilterLog {
 public:
  // A null sink writes nothing (the fuzz target and the benchmark).
  explicit FilterLog(FILE* sink) : sink_(sink) {}
  void Error(const std::string& message) const { Line("ERROR", message); }
  void Info(const std::string& message) const { Line("INFO", message); }
  // Logged by the scheduler at its debug level only.
  void Debug(const std::string& message) const { Line("DEBUG", message); }
  // A page written whole, in `copies` copies: the scheduler's page count and page_log.
  void Page(int page, int copies) const {
    Line("PAGE", std::to_string(page) + " " + std::to_string(copies));
  }
  // An attribute of the job or printer, "name=value".
  void Attribute(const std::string& nameAndValue) const { Line("ATTR", nameAndValue); }

 private:
  void Line(const char* kind, const std::string& message) const {
    if (sink_) std::fprintf(sink_, "%s: %s\n", kind, message.c_str());
  }
  FILE* sink_;
};

#endif
