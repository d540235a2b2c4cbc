// The filter's messages to the scheduler: "ERROR: ", "INFO: " and "ATTR: " lines on standard
// error, which the scheduler logs and shows with the job.
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
  // An attribute of the job or printer, "name=value".
  void Attribute(const std::string& nameAndValue) const { Line("ATTR", nameAndValue); }

 private:
  void Line(const char* kind, const std::string& message) const {
    if (sink_) std::fprintf(sink_, "%s: %s\n", kind, message.c_str());
  }
  FILE* sink_;
};

#endif
