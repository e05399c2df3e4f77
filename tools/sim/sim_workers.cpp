#include "tools/sim/sim_workers.h"

#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "platform/sim/sim_backend.h"

namespace {

constexpr int kStopSignals[3] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t g_stop = 0;

void NoteStop(int signal) { g_stop = signal; }

}  // namespace

StopOnSignals::StopOnSignals() {
  struct sigaction stop {};
  stop.sa_handler = NoteStop;
  stop.sa_flags = SA_RESTART;
  sigemptyset(&stop.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigaction(kStopSignals[i], nullptr, &before_[i]);
    // One the run was started to ignore (nohup, a background job) stays ignored.
    if (before_[i].sa_handler != SIG_IGN) sigaction(kStopSignals[i], &stop, nullptr);
  }
}

StopOnSignals::~StopOnSignals() {
  for (int i = 0; i < 3; ++i) sigaction(kStopSignals[i], &before_[i], nullptr);
}

void ThrowIfStopped() {
  if (g_stop != 0) throw SimInterrupted(g_stop);
}

int ProcessorCount() {
  const long n = sysconf(_SC_NPROCESSORS_ONLN);
  return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

// A message on a worker's pipe: "R" (a day's result) or "E" (why the worker stopped), its length, a newline and
// the text.
bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void Send(int fd, char kind, const std::string& text) {
  WriteAll(fd, std::string(1, kind) + std::to_string(text.size()) + '\n' + text);
}

// The worker: days from the shared counter until none is left. It never returns.
[[noreturn]] void Work(const SimOptions& o, const Stakes& stakes, const std::vector<DayTask>& tasks,
                       std::atomic<int>* next, const std::string& folder, int fd) {
  int status = 0;
  try {
    for (;;) {
      const int i = next->fetch_add(1);
      if (i >= static_cast<int>(tasks.size())) break;
      const DayTask& t = tasks[static_cast<size_t>(i)];
      const DayResult d = PlayDay(o, stakes.Of(t.number), t.number, t.setting, folder, t.wants);
      Send(fd, 'R', std::to_string(i) + '\n' + EncodeDay(d));
    }
  } catch (const SimStuck& e) {
    Send(fd, 'S', e.what());
    status = 1;
  } catch (const std::exception& e) {
    Send(fd, 'E', e.what());
    status = 1;
  }
  close(fd);
  _exit(status);  // nothing of the parent's (its buffers, its exit handlers) runs twice
}

struct Worker {
  pid_t pid = -1;
  int fd = -1;
  std::string buffer;
};

// The workers and the counter they share. However the run ends, no worker outlives it: those still running when
// it ends early are stopped and waited for.
struct Pool {
  void* shared = MAP_FAILED;
  std::vector<Worker> workers;

  ~Pool() {
    for (Worker& w : workers) {
      if (w.fd >= 0) close(w.fd);
      if (w.pid > 0) kill(w.pid, SIGTERM);
    }
    for (Worker& w : workers)
      while (w.pid > 0 && waitpid(w.pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    if (shared != MAP_FAILED) munmap(shared, sizeof(std::atomic<int>));
  }
};

// Takes every whole message out of a worker's buffer.
template <class Take>
void TakeMessages(Worker& w, Take take) {
  for (;;) {
    const size_t newline = w.buffer.find('\n');
    if (newline == std::string::npos) return;
    const size_t size = std::stoul(w.buffer.substr(1, newline - 1));
    if (w.buffer.size() < newline + 1 + size) return;
    take(w.buffer[0], w.buffer.substr(newline + 1, size));
    w.buffer.erase(0, newline + 1 + size);
  }
}

}  // namespace

void PlayDays(const SimOptions& o, const Stakes& stakes, const std::vector<DayTask>& tasks, int jobs,
              const std::string& scratch, const std::function<void(DayResult&&)>& take) {
  if (jobs > static_cast<int>(tasks.size())) jobs = static_cast<int>(tasks.size());
  if (jobs <= 1) {
    for (const DayTask& t : tasks) {
      ThrowIfStopped();
      take(PlayDay(o, stakes.Of(t.number), t.number, t.setting, scratch + "/day", t.wants));
    }
    return;
  }

  Pool pool;
  // The next day to play, shared by the workers.
  pool.shared = mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (pool.shared == MAP_FAILED) throw std::runtime_error("no memory to share with the worker processes");
  auto* next = new (pool.shared) std::atomic<int>(0);
  std::fflush(nullptr);
  std::cout.flush();

  for (int w = 0; w < jobs; ++w) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error(std::string("no pipe for a worker process: ") + std::strerror(errno));
    const pid_t pid = fork();
    if (pid < 0) {
      const int error = errno;
      close(fds[0]);
      close(fds[1]);
      throw std::runtime_error(std::string("a worker process could not be started: ") + std::strerror(error));
    }
    if (pid == 0) {
      // The run stops its workers itself: a worker ends at once on any of these. One whose run was killed outright
      // ends at its next result, on its broken pipe.
      for (int s : kStopSignals)
        if (signal(s, SIG_DFL) == SIG_IGN) signal(s, SIG_IGN);
      close(fds[0]);
      for (const Worker& v : pool.workers) close(v.fd);
      Work(o, stakes, tasks, next, scratch + "/worker" + std::to_string(w), fds[1]);
    }
    close(fds[1]);
    pool.workers.push_back({pid, fds[0], {}});
  }
  std::vector<Worker>& workers = pool.workers;

  std::vector<std::optional<DayResult>> done(tasks.size());
  size_t handed = 0;
  std::string failure;
  bool stuck = false;
  auto message = [&](char kind, std::string text) {
    if (kind != 'R') {
      if (failure.empty()) failure = text;
      stuck = stuck || kind == 'S';
      return;
    }
    const size_t newline = text.find('\n');
    const size_t i = std::stoul(text.substr(0, newline));
    DayResult d;
    if (i >= done.size() || !DecodeDay(text.substr(newline + 1), &d)) {
      if (failure.empty()) failure = "a worker process sent a damaged result";
      return;
    }
    done[i] = std::move(d);
  };

  size_t open = workers.size();
  char chunk[1 << 16];
  while (open > 0) {
    std::vector<pollfd> fds;
    for (const Worker& w : workers)
      if (w.fd >= 0) fds.push_back({w.fd, POLLIN, 0});
    // Woken now and then to see whether a signal stopped the run.
    const int polled = poll(fds.data(), fds.size(), 100);
    ThrowIfStopped();
    if (polled < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (Worker& w : workers) {
      if (w.fd < 0) continue;
      bool ready = false;
      for (const pollfd& p : fds) ready = ready || (p.fd == w.fd && p.revents != 0);
      if (!ready) continue;
      const ssize_t n = read(w.fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        close(w.fd);
        w.fd = -1;
        --open;
        continue;
      }
      w.buffer.append(chunk, static_cast<size_t>(n));
      TakeMessages(w, message);
    }
    // A failed day stops the run: the other workers are told to stop.
    if (!failure.empty())
      for (Worker& w : workers)
        if (w.fd >= 0) kill(w.pid, SIGTERM);
    // The days are handed on as soon as all before them are in.
    while (failure.empty() && handed < done.size() && done[handed]) {
      take(std::move(*done[handed]));
      done[handed].reset();
      ++handed;
    }
  }
  bool crashed = false;
  for (Worker& w : workers) {
    if (w.fd >= 0) close(w.fd);
    w.fd = -1;
    int status = 0;
    while (waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
    }
    w.pid = -1;
    crashed = crashed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
  }
  ThrowIfStopped();
  if (!failure.empty()) {
    if (stuck) throw SimStuck(failure);
    throw std::runtime_error(failure);
  }
  if (handed < done.size() || crashed) throw std::runtime_error("a worker process ended before its days were played");
}
