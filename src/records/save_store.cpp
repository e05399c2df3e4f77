#include "records/save_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "records/save_format.h"

SaveInterruption SaveFaults;

namespace {


bool g_folderReady = true;
SaveFilesHold g_hold = SaveFilesHold::Free;

// Anything at all under that name, and a regular file under it: only a regular file is a save's own.
bool Present(const char* name) {
  struct stat st {};
  return lstat(name, &st) == 0;
}
bool IsFile(const char* name) {
  struct stat st {};
  return lstat(name, &st) == 0 && S_ISREG(st.st_mode);
}

// Clears a name of the save's own. Whatever stands there goes, a folder left under that name with it, so that no
// leftover can stop every later save.
bool Remove(const char* name) {
  struct stat st {};
  if (lstat(name, &st) != 0) return errno == ENOENT;
  if (S_ISDIR(st.st_mode)) {
    std::error_code ec;
    std::filesystem::remove_all(name, ec);
    return !Present(name);
  }
  return unlink(name) == 0 || errno == ENOENT;
}

// Makes the folder's entries (new names, renames) durable. Some file systems cannot; that is no failure.
void SyncFolder(const char* folder = ".") {
  const int fd = open(folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

enum class Go { On, Cut, Fail };

// Counts the steps of one save and acts out the interruptions a test asked for.
class SaveRun {
 public:
  Go Step() {
    ++step_;
    if (SaveFaults.failAtStep == step_) return Go::Fail;
    if (SaveFaults.cutAfterStep > 0 && step_ > SaveFaults.cutAfterStep) return Go::Cut;
    return Go::On;
  }
  int step() const { return step_; }

 private:
  int step_ = 0;
};

// The three steps of one temporary file: the first half, the rest, flushed and closed.
Go WriteTemp(SaveRun& run, const char* name, const Bytes& bytes) {
  Go go = run.Step();
  if (go != Go::On) return go;
  // A fresh file of our own: never through a link or into something that took the name meanwhile.
  const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return Go::Fail;
  const std::size_t half = bytes.size() / 2;
  bool ok = WriteAll(fd, bytes.data(), half);
  if (ok && (go = run.Step()) == Go::On) ok = WriteAll(fd, bytes.data() + half, bytes.size() - half);
  if (ok && go == Go::On && (go = run.Step()) == Go::On) ok = fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  return !ok ? Go::Fail : go;
}

// Leaves the old files as they were: the marker goes first, so that no later read completes this save.
void Discard() {
  Remove(kSaveReady);
  Remove(kDataFilesTemp);
  Remove(kVbdsndTemp);
}

}  // namespace

void SetSaveFolderReady(bool ready) { g_folderReady = ready; }
bool SaveFolderReady() { return g_folderReady && g_hold != SaveFilesHold::Untouched; }

void HoldSaveFiles(SaveFilesHold hold) { g_hold = hold == SaveFilesHold::Free ? hold : std::max(g_hold, hold); }
SaveFilesHold SaveFilesHeld() { return g_hold; }

Bytes ReadSaveFile(const char* name, FileRead* how) {
  Bytes bytes;
  // Only the bytes the layout uses: a file grown to gigabytes costs no more to read than a true one.
  const bool longLayout = std::strcmp(name, kDataFiles) == 0 || std::strcmp(name, kDataFilesTemp) == 0;
  FileRead read = FileRead::Missing;
  if (SaveFolderReady())
    read = SaveFaults.unreadable && std::strcmp(name, SaveFaults.unreadable) == 0
               ? FileRead::Unreadable
               : ReadFileStart(name, longLayout ? kDataFilesSize : kVbdsndSize, bytes);
  if (read != FileRead::Read) bytes.clear();
  if (how) *how = read;
  return bytes;
}

void RecoverInterruptedSave() {
  // Completing or discarding a save writes: never while the files are held.
  if (!g_folderReady || g_hold != SaveFilesHold::Free) return;
  const bool dataTemp = IsFile(kDataFilesTemp), vbdsndTemp = IsFile(kVbdsndTemp);
  if (!IsFile(kSaveReady)) {
    // A save cut off before both new files were complete: the old pair stands. Whatever stands under the
    // marker's name without being a file is no marker either.
    if (Present(kDataFilesTemp) || Present(kVbdsndTemp) || Present(kSaveReady)) Discard();
    return;
  }
  // Both new files were complete. Each that still waits under its temporary name replaces the old one, provided
  // the pair they make agrees.
  FileRead dataRead = FileRead::Read, vbdsndRead = FileRead::Read;
  const DataFilesCopy check = DecodeDataFiles(ReadSaveFile(dataTemp ? kDataFilesTemp : kDataFiles, &dataRead));
  const Bytes vbdsnd = ReadSaveFile(vbdsndTemp ? kVbdsndTemp : kVbdsnd, &vbdsndRead);
  // A file that cannot be read now may read later: nothing is decided on it.
  if (dataRead == FileRead::Unreadable || vbdsndRead == FileRead::Unreadable) return;
  if (vbdsnd.size() != kVbdsndSize || !CopiesAgree(check, DecodeVbdsnd(vbdsnd))) {
    Discard();
    return;
  }
  if (dataTemp && rename(kDataFilesTemp, kDataFiles) != 0) return;
  if (vbdsndTemp && rename(kVbdsndTemp, kVbdsnd) != 0) return;
  SyncFolder();
  Remove(kSaveReady);
}

bool WriteSavePair(const Bytes& dataFiles, const Bytes& vbdsnd) {
  if (!g_folderReady || g_hold != SaveFilesHold::Free) return false;
  RecoverInterruptedSave();
  SaveRun run;
  Go go = Go::On;
  auto step = [&](auto&& action) {
    if (go == Go::On && (go = run.Step()) == Go::On && !action()) go = Go::Fail;
  };
  step([] { return Remove(kSaveReady); });                                     // 1
  step([] { return Remove(kDataFilesTemp) && Remove(kVbdsndTemp); });          // 2
  if (go == Go::On) go = WriteTemp(run, kDataFilesTemp, dataFiles);            // 3 to 5
  if (go == Go::On) go = WriteTemp(run, kVbdsndTemp, vbdsnd);             // 6 to 8
  step([] { SyncFolder(); return true; });                                // 9
  step([] {                                                               // 10: both are complete
    const int fd = open(kSaveReady, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    if (close(fd) != 0 || !ok) return false;
    SyncFolder();
    return true;
  });
  step([] { return rename(kDataFilesTemp, kDataFiles) == 0; });               // 11
  step([] { return rename(kVbdsndTemp, kVbdsnd) == 0; });                // 12
  step([] { SyncFolder(); return true; });                                // 13
  step([] { return Remove(kSaveReady); });                                    // 14
  if (go != Go::Fail) return true;
  if (run.step() <= 11) {
    // Nothing was replaced: the old pair still stands.
    Discard();
    return false;
  }
  if (run.step() == 12) {
    // "DataFiles" is already the new one: complete the save from the marker, as the next read would.
    RecoverInterruptedSave();
    return !Present(kSaveReady);
  }
  // Both new files are in place; a marker left behind is cleared by the next read.
  return true;
}

void RecoverSingleFile(const std::string& path) { Remove((path + ".new").c_str()); }

bool WriteFileSafely(const std::string& path, const Bytes& bytes) {
  const std::string temp = path + ".new";
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  SaveRun run;
  Go go = Go::On;
  auto step = [&](auto&& action) {
    if (go == Go::On && (go = run.Step()) == Go::On && !action()) go = Go::Fail;
  };
  step([&] { return Remove(temp.c_str()); });                                    // 1
  if (go == Go::On) go = WriteTemp(run, temp.c_str(), bytes);                    // 2 to 4
  step([&] { return rename(temp.c_str(), path.c_str()) == 0; });                 // 5: the new file stands
  step([&] { SyncFolder(folder.c_str()); return true; });                        // 6
  if (go == Go::Fail && run.step() <= 5) Remove(temp.c_str());
  return go != Go::Fail;
}
