// mofuran-sim and counter-calibration as built, run as a user runs them: refusals, failures and signals.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/folder_lock.h"
#include "records/scratch_folder.h"
#include "sim/folder_files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A shell command line (redirections, exec), run without root's rights where the test has them, so that read-only
// means read-only; `started` gets its process once it runs. Returns its exit code, 128 + the signal that ended it,
// or -1 when something it started still holds its output a second after it ended; `printed` gets what it printed.
int RunProgram(const std::string& command, std::string* printed = nullptr,
               const std::function<void(pid_t)>& started = {}) {
  int fds[2];
  if (pipe(fds) != 0) return -2;
  posix_spawn_file_actions_t io;
  posix_spawn_file_actions_init(&io);
  posix_spawn_file_actions_adddup2(&io, fds[1], 1);
  posix_spawn_file_actions_adddup2(&io, fds[1], 2);
  std::vector<const char*> argv = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                   "/bin/sh", "-c", command.c_str(), nullptr};
  const size_t from = geteuid() == 0 ? 0 : 4;
  pid_t pid = -1;
  posix_spawnp(&pid, argv[from], &io, nullptr, const_cast<char**>(argv.data() + from), environ);
  posix_spawn_file_actions_destroy(&io);
  close(fds[1]);
  if (started) started(pid);
  int status = 0;
  waitpid(pid, &status, 0);
  std::string out;
  char chunk[4096];
  pollfd p{fds[0], POLLIN, 0};
  ssize_t n = -1;
  while (poll(&p, 1, 1000) == 1 && (n = read(fds[0], chunk, sizeof chunk)) > 0)
    out.append(chunk, static_cast<size_t>(n));
  close(fds[0]);
  if (printed) *printed = out;
  return n != 0 ? -1 : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

class SimProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"", "/tmp", "/cwd"}) fs::create_directories(At(f)), chmod(At(f).c_str(), 0777);
  }
  std::string At(const std::string& name) { return scratch.Path() + name; }
  // The simulator's command line, in a folder and with temporary folders of its own.
  std::string Sim(const std::string& args, const std::string& before = "") {
    return "cd " + At("/cwd") + " && exec env TMPDIR=" + At("/tmp") + " " + before + MOFURAN_SIM + " " + args;
  }
  ScratchFolder scratch;
};

TEST_F(SimProgramTest, ADataFolderItCannotUseIsRefusedAndNothingIsWritten) {
  const std::string data = At("/data"), sound = data + "/soundMofuran";
  const struct {
    std::function<void()> layOut;
    const char* said;
  } cases[] = {
      {[&] { fs::create_directories(data), std::ofstream{sound}; }, "cannot use"},
      {[&] { std::ofstream{data}; }, "cannot use"},
      {[&] { fs::create_directories(data), chmod(data.c_str(), 0555); }, "cannot use"},
      {[&] { fs::create_directories(sound), std::ofstream{sound + "/VBDSND1.DLL"}, chmod(sound.c_str(), 0555); },
       "cannot lock"},
      {[&] {
         fs::create_directories(sound), chmod(sound.c_str(), 0777), TakeFolderLock(sound, "SaveFiles.lock");
         chmod((sound + "/SaveFiles.lock").c_str(), 0666);
       },
       "is in use"},
  };
  for (const auto& c : cases) {
    c.layOut();
    const auto before = Files(At(""));
    std::string said;
    EXPECT_EQ(RunProgram(Sim("--data " + data + " --games 10"), &said), 1) << c.said;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_EQ(Files(At("")), before) << c.said;
    ReleaseFolderLock();
    std::error_code ec;
    for (const std::string& f : {data, sound}) fs::permissions(f, fs::perms::owner_all, ec);
    fs::remove_all(data);
  }
}

TEST_F(SimProgramTest, AnOutputOrAFolderThatCannotBeWrittenFailsTheRun) {
  std::ofstream{At("/cwd/ro")};
  chmod(At("/cwd/ro").c_str(), 0444);
  fs::create_directories(At("/cwd/rodir"));
  chmod(At("/cwd/rodir").c_str(), 0555);
  const std::string sheet = "--sheet --days 1 --games 5 --plot ";
  const struct {
    std::string command, said;
  } cases[] = {
      {Sim("--json > /dev/full"), "cannot write the figures"},
      {Sim("--json 1< ro"), "cannot write the figures"},
      {Sim("--trace /dev/full"), "cannot write the trace"},
      {Sim("--trace ro"), "cannot write ro"},
      {Sim("--trace rodir/t.tsv"), "cannot write rodir"},
      {Sim(sheet + "/dev/full"), "cannot write /dev/full"},
      {Sim(sheet + "ro"), "cannot write ro"},
      {Sim(sheet + "rodir/odds.svg"), "cannot write rodir"},
      {Sim("", "env TMPDIR=/nonexistent "), "no temporary folder"},
      {Sim("--days 3 --jobs 3", "prlimit --nproc=2 "), "could not be started"},
  };
  for (const auto& c : cases) {
    std::string said;
    EXPECT_EQ(RunProgram(c.command + " --games 10", &said), 1) << c.command;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.command << ": " << said;
  }
}

TEST_F(SimProgramTest, ASignalRemovesTheTemporaryFoldersAndEndsEveryWorker) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    for (const char* jobs : {"1", "2"}) {
      // Under way: its first day, or its second worker, has a folder.
      const auto dayFolder = [&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(At("/tmp"), ec))
          if (fs::exists(e.path() / "day", ec) || fs::exists(e.path() / "worker1", ec)) return true;
        return false;
      };
      const std::string command = Sim("--data " + At("/data") + " --days 1000 --jobs " + jobs);
      const int status = RunProgram(command, nullptr, [&](pid_t pid) {
        for (int i = 0; i < 200 && !dayFolder(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(pid, signal);
      });
      EXPECT_EQ(status, 128 + signal) << jobs;
      EXPECT_TRUE(fs::is_empty(At("/tmp"))) << jobs;
      EXPECT_FALSE(fs::exists(At("/data"))) << "the data folder the run made goes with it";
    }
}

TEST_F(SimProgramTest, ArgumentsThatAreNotNumbersOrTooFewGamesAreRefused) {
  const std::string calibration = MOFURAN_CALIBRATION " ";
  const struct {
    std::string args, said;
  } cases[] = {
      {MOFURAN_SIM " --days two", "bad value for --days"},
      {calibration + "--days x", "bad value for --days: x"},
      {calibration + "--days 5x", "bad value for --days"},
      {calibration + "--seed -1", "bad value for --seed"},
      {calibration + "--days", "bad value for --days"},
      {calibration + "--games 500", "--rates only"},
      {calibration + "--fast", "unknown option --fast"},
      {calibration + "--rates --days 9 --games 10000", "at least 100000 games"},
  };
  for (const auto& c : cases) {
    std::string said;
    EXPECT_EQ(RunProgram(c.args, &said), 2) << c.args;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.args << ": " << said;
  }
}

}  // namespace
