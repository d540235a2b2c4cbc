#include "temporary_cleanup.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

#include "tool_error.h"

namespace {

// The tool writes at most four outputs (the inks of a CMYK page) at a time.
constexpr int kSlots = 16;
constexpr size_t kLongestPath = 4096;

// The handler reads a slot only while its flag is set; a slot is written only while it is clear.
struct Slot {
  std::atomic<bool> used{false};
  char path[kLongestPath] = {};
};
Slot slots[kSlots];
std::mutex slotsMutex;  // between the tool's own threads; the handler takes no lock

extern "C" void RemoveTemporariesAndEnd(int signal) {
  for (Slot& slot : slots)
    if (slot.used.load()) unlink(slot.path);
  std::signal(signal, SIG_DFL);
  raise(signal);
}

void InstallHandlersOnce() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    for (int signal : {SIGINT, SIGTERM}) {
      struct sigaction previous {};
      sigaction(signal, nullptr, &previous);
      if (previous.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
  });
}

}  // namespace

void RegisterTemporary(const std::string& path) {
  if (path.size() >= kLongestPath) throw ToolError(path + ": the path is too long");
  InstallHandlersOnce();
  const std::lock_guard<std::mutex> lock(slotsMutex);
  for (Slot& slot : slots) {
    if (slot.used.load()) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used.store(true);
    return;
  }
  throw ToolError(path + ": more than " + std::to_string(kSlots) + " outputs at once");
}

void ForgetTemporary(const std::string& path) {
  const std::lock_guard<std::mutex> lock(slotsMutex);
  for (Slot& slot : slots)
    if (slot.used.load() && path == slot.path) {
      slot.used.store(false);
      return;
    }
}
