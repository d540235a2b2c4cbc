// What a user (or someone who means harm) may hand the tool besides a plain image and a plain
// output name: broken curve files, FIFOs, devices, huge sparse files, pipes, private outputs,
// signals. Each is refused at once with a message or handled; none screens a blank page, hangs,
// grows without bound or changes what it replaces. (Unusable parameter files, and a folder too
// long for the library, meet the library's own verdict in the tool as in the filter, whose
// hostile jobs try them.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tool_runner.h"

namespace {

// A refusal, bounded in time and memory.
cli::Run TimedRun(const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment, const std::string& what) {
  std::vector<std::string> command = {KORVEL_TOOL};
  command.insert(command.end(), arguments.begin(), arguments.end());
  // One output file a test: ctest runs the tests of this suite side by side.
  const std::string out = std::string(KORVEL_SCRATCH) + "/" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                          ".timed-run.out";
  const test::ProgramRun run = test::BoundedRun(command, out, environment, what);
  return {run.exitCode, cli::ReadFile(out), run.err};
}

TEST(HostileFiles, CurveFilesAreReadBoundedAndOnlyWhenRegular) {
  const std::string folder = cli::ScratchFolder();
  for (const std::string& special : test::SpecialFiles(folder)) {
    const cli::Run run =
        TimedRun({"halftone", "--curve", special, cli::ChartPath(), folder + "/out.pgm"}, {},
                 "--curve " + special.substr(special.rfind('/')));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(run.err.find("not a regular file") != std::string::npos ||
                run.err.find("larger than") != std::string::npos)
        << run.err;
  }
  // A long word is quoted as a short escaped fragment.
  cli::WriteFile(folder + "/word.txt", "0 50 " + std::string(1 << 16, 'A'));
  cli::WriteFile(folder + "/binary.txt", "0 50 \x01\x02\x1b[2J");
  const cli::Run word =
      cli::RunTool(cli::Command("halftone --curve word.txt CHART out.pgm", folder));
  cli::ExpectRefused(word, 1, "'AAAAAAAAAAAAAAAA...' is not a whole percentage");
  EXPECT_LT(word.err.size(), 200u);
  cli::ExpectRefused(
      cli::RunTool(cli::Command("halftone --curve binary.txt CHART out.pgm", folder)), 1,
      "'\\x01\\x02\\x1B[2J' is not a whole percentage");
}

TEST(HostileFiles, InputIsReadOnceFromPipesFifosAndStandardInput) {
  const std::string folder = cli::ScratchFolder();
  cli::ExpectSuccess(cli::RunTool(cli::Command("halftone CHART direct.pgm", folder)));
  const std::string expected = cli::ReadFile(folder + "/direct.pgm");
  for (const char* name : {"-", "/dev/stdin"}) {
    const test::ProgramRun run =
        test::RunProgram({KORVEL_TOOL, "halftone", name, folder + "/piped.pgm"}, folder + "/stdout",
                         cli::ChartPath());
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
    EXPECT_EQ(cli::ReadFile(folder + "/piped.pgm"), expected) << name;
  }
  // Through a real pipe, named as /dev/stdin: a shell pipes the chart in.
  const test::ProgramRun piped =
      test::RunProgram({"sh", "-c", "cat \"$1\" | \"$2\" halftone /dev/stdin \"$3\"", "sh",
                        cli::ChartPath(), KORVEL_TOOL, folder + "/pipe.pgm"},
                       folder + "/stdout");
  EXPECT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(cli::ReadFile(folder + "/pipe.pgm"), expected);
  // A FIFO: a writer feeds it while the tool reads it.
  const std::string fifo = folder + "/in.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { cli::WriteFile(fifo, cli::ReadFile(cli::ChartPath())); });
  const cli::Run run = cli::RunTool({"halftone", fifo, folder + "/fifo.pgm"});
  writer.join();
  cli::ExpectSuccess(run);
  EXPECT_EQ(cli::ReadFile(folder + "/fifo.pgm"), expected);
  // And out to standard output: a PBM at 1 bit, a PGM at 2 bits, as the files would be.
  for (const char* bits : {"1", "2"}) {
    const std::string ext = bits[0] == '1' ? ".pbm" : ".pgm";
    cli::ExpectSuccess(
        cli::RunTool({"halftone", "--bits", bits, cli::ChartPath(), folder + "/file" + ext}));
    const test::ProgramRun both =
        test::RunProgram({KORVEL_TOOL, "halftone", "--bits", bits, "-", "-"},
                         folder + "/stdout" + ext, cli::ChartPath());
    EXPECT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(cli::ReadFile(folder + "/stdout" + ext), cli::ReadFile(folder + "/file" + ext));
  }
  // A stream that is no image is refused from its first bytes.
  const test::ProgramRun zero = test::RunProgram(
      {KORVEL_TOOL, "halftone", "-", folder + "/zero.pgm"}, folder + "/stdout", "/dev/zero");
  EXPECT_EQ(zero.exitCode, 1);
  EXPECT_NE(zero.err.find("-: unknown image format"), std::string::npos) << zero.err;
}

TEST(HostileFiles, ReplacedOutputsKeepTheirModeAndOnlyFilesAreReplaced) {
  const std::string folder = cli::ScratchFolder(), out = folder + "/out.pgm";
  cli::WriteFile(out, "private");
  ASSERT_EQ(chmod(out.c_str(), 0600), 0);
  cli::ExpectSuccess(cli::RunTool(cli::Command("halftone CHART out.pgm", folder)));
  struct stat status;
  ASSERT_EQ(stat(out.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_NE(cli::ReadFile(out), "private");

  const std::string fifo = folder + "/fifo.pgm";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  cli::ExpectRefused(cli::RunTool(cli::Command("halftone CHART fifo.pgm", folder)), 1,
                     "not a regular file");
  ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the FIFO is still there";
  EXPECT_EQ(cli::EntriesIn(folder), 2u) << "no temporary left";
}

TEST(HostileFiles, SigtermLeavesNoTemporaryBehind) {
  const std::string folder = cli::ScratchFolder();
  const pid_t child = fork();
  if (child == 0) {
    freopen("/dev/null", "w", stderr);
    execl(KORVEL_TOOL, KORVEL_TOOL, "halftone", "--type", "0", "--size", "12000x12000", "--quiet",
          (folder + "/big.png").c_str(), nullptr);
    _exit(127);
  }
  // Wait until the temporary exists (the tool writes it after screening), then stop the tool.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (cli::EntriesIn(folder) == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(cli::EntriesIn(folder), 1u) << "the tool never began its output";
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(cli::EntriesIn(folder), 0u) << "the temporary is removed";
}

}  // namespace
