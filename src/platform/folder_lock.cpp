#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace {

struct Held {
  int fd = -1;
  std::string path;
  pid_t owner = 0;  // a child forked meanwhile shares the lock but must not remove its file
};
Held g_held;

// Clears a name that holds something other than a plain file: no lock can be taken on it.
bool ClearNonFile(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (S_ISREG(st.st_mode)) return true;
  if (S_ISDIR(st.st_mode)) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    return !ec;
  }
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool SameFile(int fd, const std::string& path) {
  struct stat open {}, named {};
  return fstat(fd, &open) == 0 && S_ISREG(open.st_mode) && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

// For a person looking at the folder: which process holds it. Nothing depends on it.
void Label(int fd) {
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) == 0 && write(fd, pid.data(), pid.size()) < 0) return;
}

}  // namespace

FolderLock TakeFolderLock(const std::string& folder, const std::string& fileName) {
  ReleaseFolderLock();
  const std::string path = folder + "/" + fileName;
  // A few rounds at most: another process may remove or replace the file between our steps.
  for (int round = 0; round < 8; ++round) {
    if (!ClearNonFile(path)) return FolderLock::Unavailable;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (errno == ELOOP || errno == EISDIR || errno == ENXIO) continue;
      return FolderLock::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      close(fd);
      return error == EWOULDBLOCK ? FolderLock::HeldElsewhere : FolderLock::Unavailable;
    }
    // The holder before us removes the file as it lets go: the lock counts only on the file under the name.
    if (!SameFile(fd, path)) {
      close(fd);
      continue;
    }
    Label(fd);
    g_held = {fd, path, getpid()};
    return FolderLock::Taken;
  }
  return FolderLock::Unavailable;
}

void ReleaseFolderLock() {
  if (g_held.fd < 0) return;
  // Removed while still held, so that nobody takes a lock on a file that is about to go.
  if (g_held.owner == getpid()) unlink(g_held.path.c_str());
  close(g_held.fd);
  g_held = {};
}
