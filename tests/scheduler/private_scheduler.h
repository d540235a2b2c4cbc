// A CUPS scheduler of the tests' own: cupsd started with a configuration, socket, spool, log,
// cache and state folder of its own under a scratch folder (no file of the system's is
// touched), its filters the system's beside the installed rastertokorvel, and print queues on
// file devices made from the installed PPD. Jobs go in with lp, as a user sends them.
#ifndef KORVEL_TESTS_SCHEDULER_PRIVATE_SCHEDULER_H
#define KORVEL_TESTS_SCHEDULER_PRIVATE_SCHEDULER_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace schedulertest {

struct FinishedJob {
  int id = 0;
  std::string state;    // "completed", "stopped", "aborted" or "canceled"
  int impressions = 0;  // job-impressions-completed
  std::string output;   // the queue's device file after the job
};

class PrivateScheduler {
 public:
  // Starts cupsd under `folder` with the filter and PPD of the installation at `prefix`.
  PrivateScheduler(const std::string& folder, const std::string& prefix);
  ~PrivateScheduler();
  PrivateScheduler(const PrivateScheduler&) = delete;
  PrivateScheduler& operator=(const PrivateScheduler&) = delete;

  // Makes queue `name` on a file device from the installed PPD; `options` are lpadmin -o
  // settings of the queue (its defaults, its error policy).
  void AddQueue(const std::string& name, const std::vector<std::string>& options = {});
  // Sends `file` to the queue with lp and waits until the job is done.
  FinishedJob Print(const std::string& queue, const std::string& file,
                    const std::vector<std::string>& options = {});
  // Sends `file` with lp; cancels the job once the scheduler's log holds `cancelAfter` for it,
  // and waits until it is done and the filter has ended.
  FinishedJob PrintAndCancel(const std::string& queue, const std::string& file,
                             const std::vector<std::string>& options,
                             const std::string& cancelAfter);

  // The environment entry that points CUPS's commands at this scheduler.
  std::string ServerEntry() const { return "CUPS_SERVER=" + socket_; }
  std::string PageLog() const;
  std::string ErrorLog() const;
  const std::string& Folder() const { return folder_; }

 private:
  void WriteConfiguration();
  void Start();
  std::string Run(const std::vector<std::string>& argv) const;
  int Submit(const std::string& queue, const std::string& file,
             const std::vector<std::string>& options);
  FinishedJob WaitForJob(int id) const;

  std::string folder_, serverBin_, socket_, ppd_;
  pid_t pid_ = -1;
};

}  // namespace schedulertest

#endif
