#include "private_scheduler.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <thread>

#include "program_run.h"

namespace schedulertest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kJobTimeout = 120s;

// The system's server programs, with the installed filter among its filters.
void AssembleServerBin(const std::string& serverBin, const std::string& prefix) {
  fs::create_directories(serverBin + "/filter");
  for (const auto& entry : fs::directory_iterator(CUPS_SERVER_BIN))
    if (entry.path().filename() != "filter")
      fs::create_symlink(entry.path(), fs::path(serverBin) / entry.path().filename());
  for (const auto& entry : fs::directory_iterator(CUPS_SERVER_BIN "/filter"))
    fs::create_symlink(entry.path(), fs::path(serverBin) / "filter" / entry.path().filename());
  fs::create_symlink(prefix + "/lib/cups/filter/rastertokorvel",
                     serverBin + "/filter/rastertokorvel");
}

std::string Attribute(ipp_t* response, const char* name) {
  ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
  if (!attribute) return "";
  if (ippGetValueTag(attribute) == IPP_TAG_ENUM || ippGetValueTag(attribute) == IPP_TAG_INTEGER)
    return std::to_string(ippGetInteger(attribute, 0));
  return ippGetString(attribute, 0, nullptr);
}

}  // namespace

PrivateScheduler::PrivateScheduler(const std::string& folder, const std::string& prefix)
    : folder_(folder),
      serverBin_(folder + "/serverbin"),
      socket_(folder + "/cupsd.sock"),
      ppd_(prefix + "/share/ppd/korvel/korvel-inkjet.ppd") {
  fs::remove_all(folder_);
  for (const char* sub : {"spool", "cache", "state", "log", "out"})
    fs::create_directories(folder_ + "/" + sub);
  fs::create_directories(folder_ + "/tmp");
  // The filters run as lp, which must be able to write temporary files; the folders above
  // them must be open to it (cupsd refuses a configuration anyone may change).
  chmod((folder_ + "/tmp").c_str(), 01777);
  AssembleServerBin(serverBin_, prefix);
  WriteConfiguration();
  Start();
  cupsSetServer(socket_.c_str());
}

PrivateScheduler::~PrivateScheduler() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

void PrivateScheduler::WriteConfiguration() {
  std::ofstream(folder_ + "/cupsd.conf")
      << "Listen " << socket_
      << "\nLogLevel debug\nMaxLogSize 0\nDefaultAuthType None\nBrowsing No\nWebInterface No\n"
         "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
         "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
         "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
         "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
  const std::string& f = folder_;
  std::ofstream(folder_ + "/cups-files.conf")
      << "ServerRoot " << f << "\nServerBin " << serverBin_ << "\nDataDir " << CUPS_DATA_DIR
      << "\nRequestRoot " << f << "/spool\nCacheDir " << f << "/cache\nStateDir " << f
      << "/state\nTempDir " << f << "/tmp\nErrorLog " << f << "/log/error_log\nAccessLog " << f
      << "/log/access_log\nPageLog " << f << "/log/page_log\nPrintcap " << f
      << "/printcap\nFileDevice Yes\nUser lp\nGroup lp\nSystemGroup root\n";
}

void PrivateScheduler::Start() {
  const std::string conf = folder_ + "/cupsd.conf", files = folder_ + "/cups-files.conf";
  pid_ = fork();
  if (pid_ == 0) {
    if (freopen((folder_ + "/log/cupsd.out").c_str(), "w", stdout) &&
        freopen((folder_ + "/log/cupsd.err").c_str(), "w", stderr))
      execl(CUPSD, CUPSD, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
    _exit(127);
  }
  for (int tries = 0; tries < 100; ++tries) {
    if (fs::exists(socket_) && Run({"lpstat", "-r"}).find("is running") != std::string::npos)
      return;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) break;
    std::this_thread::sleep_for(100ms);
  }
  throw std::runtime_error("cupsd did not start: " + test::ReadFile(folder_ + "/log/cupsd.err") +
                           test::ReadFile(folder_ + "/log/error_log"));
}

std::string PrivateScheduler::Run(const std::vector<std::string>& argv) const {
  const std::string out = folder_ + "/command.out";
  const test::ProgramRun run = test::RunProgram(argv, out, "", {ServerEntry()});
  const std::string said = test::ReadFile(out);
  if (run.exitCode != 0)
    throw std::runtime_error(argv[0] + " failed (" + std::to_string(run.exitCode) + "): " + said +
                             run.err);
  return said;
}

void PrivateScheduler::AddQueue(const std::string& name, const std::vector<std::string>& options) {
  std::vector<std::string> argv{
      "lpadmin", "-p", name, "-E", "-v", "file://" + folder_ + "/out/" + name + ".ras", "-P", ppd_};
  for (const std::string& option : options) argv.insert(argv.end(), {"-o", option});
  Run(argv);
}

int PrivateScheduler::Submit(const std::string& queue, const std::string& file,
                             const std::vector<std::string>& options) {
  std::vector<std::string> argv{"lp", "-d", queue};
  for (const std::string& option : options) argv.insert(argv.end(), {"-o", option});
  argv.push_back(file);
  const std::string said = Run(argv);
  std::smatch id;
  if (!std::regex_search(said, id, std::regex("request id is " + queue + "-(\\d+)")))
    throw std::runtime_error("lp said: " + said);
  return std::stoi(id[1]);
}

FinishedJob PrivateScheduler::Print(const std::string& queue, const std::string& file,
                                    const std::vector<std::string>& options) {
  FinishedJob job = WaitForJob(Submit(queue, file, options));
  job.output = folder_ + "/out/" + queue + ".ras";
  return job;
}

FinishedJob PrivateScheduler::PrintAndCancel(const std::string& queue, const std::string& file,
                                             const std::vector<std::string>& options,
                                             const std::string& cancelAfter) {
  const int id = Submit(queue, file, options);
  const std::string wanted = "[Job " + std::to_string(id) + "] " + cancelAfter;
  const auto until = std::chrono::steady_clock::now() + kJobTimeout;
  while (ErrorLog().find(wanted) == std::string::npos) {
    if (std::chrono::steady_clock::now() > until)
      throw std::runtime_error("the log never said: " + wanted);
    std::this_thread::sleep_for(50ms);
  }
  Run({"cancel", std::to_string(id)});
  FinishedJob job = WaitForJob(id);
  // The filters' last messages can come after the job's state: wait for this filter to end
  // and the scheduler to note it, or for a last look at its log.
  std::smatch started;
  const std::string log = ErrorLog();
  if (std::regex_search(log, started,
                        std::regex("\\[Job " + std::to_string(id) +
                                   "\\] Started filter [^\\n]*/rastertokorvel \\(PID (\\d+)\\)"))) {
    const std::string pid = started[1];
    for (int tries = 0; tries < 100 && kill(std::stoi(pid), 0) == 0; ++tries)
      std::this_thread::sleep_for(50ms);
    for (int tries = 0; tries < 40 && ErrorLog().find("PID " + pid + " (") == std::string::npos;
         ++tries)
      std::this_thread::sleep_for(50ms);
  }
  job.output = folder_ + "/out/" + queue + ".ras";
  return job;
}

FinishedJob PrivateScheduler::WaitForJob(int id) const {
  const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
  const auto until = std::chrono::steady_clock::now() + kJobTimeout;
  while (std::chrono::steady_clock::now() < until) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    const int state = std::atoi(Attribute(response, "job-state").c_str());
    const int impressions = std::atoi(Attribute(response, "job-impressions-completed").c_str());
    ippDelete(response);
    // A filter's error leaves its job stopped, for good.
    if (state >= IPP_JSTATE_STOPPED) {
      const char* const states[] = {"stopped", "canceled", "aborted", "completed"};
      return {id, states[state - IPP_JSTATE_STOPPED], impressions, ""};
    }
    std::this_thread::sleep_for(200ms);
  }
  throw std::runtime_error("job " + std::to_string(id) + " did not finish");
}

std::string PrivateScheduler::PageLog() const {
  return test::ReadFile(folder_ + "/log/page_log");
}

std::string PrivateScheduler::ErrorLog() const {
  return test::ReadFile(folder_ + "/log/error_log");
}

}  // namespace schedulertest
