#include "platform/folder_lock.h"

#include <QLockFile>
#include <memory>

namespace {

// The held lock; its file goes with it when the program ends normally.
std::unique_ptr<QLockFile>& Held() {
  static std::unique_ptr<QLockFile> lock;
  return lock;
}

}  // namespace

FolderLock TakeFolderLock(const std::string& folder, const std::string& fileName) {
  ReleaseFolderLock();
  auto lock = std::make_unique<QLockFile>(QString::fromStdString(folder + "/" + fileName));
  // A lock is stale only when its process is gone: a copy of the game may run for days.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    Held() = std::move(lock);
    return FolderLock::Taken;
  }
  return lock->error() == QLockFile::LockFailedError ? FolderLock::HeldElsewhere : FolderLock::Unavailable;
}

void ReleaseFolderLock() { Held().reset(); }
