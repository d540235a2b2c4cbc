// Running programs from the tests as a user or a print queue would (the korvel tool, the CUPS
// filter, cupsfilter, ghostscript), and the scratch folders they write into. Built into each
// test program that runs one, with KORVEL_SCRATCH naming that program's scratch folder.
#ifndef KORVEL_TESTS_PROCESS_PROGRAM_RUN_H
#define KORVEL_TESTS_PROCESS_PROGRAM_RUN_H

#include <string>
#include <vector>

namespace test {

struct ProgramRun {
  int exitCode = -1;       // -1 when the program did not exit normally (a crash)
  std::string err;         // what it wrote on standard error
  long peakKilobytes = 0;  // its peak resident memory (see MemoryBound)
};

// Runs argv[0] (looked up on PATH when it holds no slash) with standard output to outPath,
// standard input from inPath ("" for none), and each environment entry "NAME=value" set or
// "NAME" unset.
ProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& outPath,
                      const std::string& inPath = "",
                      const std::vector<std::string>& environment = {});

// RunProgram for a run that refuses or stops at once: it fails the test when the run takes 10
// seconds (far above the fraction of a second these take: a bound for "does not hang" only) or
// 64 MB above MemoryBound (far above a refusal's 20 MB, sanitizers too), and prints its time and
// peak memory under `what` for the report.
ProgramRun BoundedRun(const std::vector<std::string>& argv, const std::string& outPath,
                      const std::vector<std::string>& environment, const std::string& what);

// A bound for a program's peak memory that a run from this process can check: `kilobytes` above
// the peak that running `true` reports. A child starts as a copy of the process that runs it,
// and its peak counts that copy (a large one after tests that screened big pages).
long MemoryBound(long kilobytes);

// A fresh, empty folder for the running test.
std::string ScratchFolder();

std::string ReadFile(const std::string& path);

// The special files a name may stand for, made in `folder`: a FIFO, a device (/dev/zero), a 1 GB
// sparse file and the folder itself.
std::vector<std::string> SpecialFiles(const std::string& folder);

}  // namespace test

#endif
