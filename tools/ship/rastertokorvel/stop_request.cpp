#include "stop_request.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void NoteStopRequest(int) {
  stopRequested = 1;
}

}  // namespace

void CatchStopRequests() {
  struct sigaction action {};
  action.sa_handler = NoteStopRequest;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
  return stopRequested != 0;
}
