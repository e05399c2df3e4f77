#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {
std::string& ProgramFolderOverride() {
  static std::string folder;
  return folder;
}

// The program does not move while it runs: its folder is looked up once.
const std::string& ProgramFolderOnce() {
  if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
  static const std::string found = [] {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return CurrentFolder();
    std::string path(buf, static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
  }();
  return found;
}
}  // namespace

std::string NativePath(const std::string& gamePath) {
  // A game path has a separator or two in some sixty characters; a sound is played by path every game.
  std::string p = gamePath;
  // The program's own folder is the system's name for it, a backslash in it included: only the game's names
  // after it are turned.
  const std::string& home = ProgramFolderOnce();
  std::size_t from = 0;
  if (home.size() > 1 && p.size() > home.size() && (p[home.size()] == '\\' || p[home.size()] == '/') &&
      p.compare(0, home.size(), home) == 0)
    from = home.size();
  char* const end = p.data() + p.size();
  for (char* c = p.data() + from; (c = static_cast<char*>(std::memchr(c, '\\', static_cast<size_t>(end - c))));)
    *c++ = '/';
  return p;
}

void OverrideProgramFolder(const std::string& folder) { ProgramFolderOverride() = folder; }

std::string ProgramFolder() { return ProgramFolderOnce(); }

bool ChangeFolder(const std::string& gamePath) { return chdir(NativePath(gamePath).c_str()) == 0; }

std::string CurrentFolder() {
  char buf[PATH_MAX];
  return getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

bool FileExists(const std::string& gamePath) {
  return access(NativePath(gamePath).c_str(), F_OK) == 0;
}

std::optional<Bytes> ReadAllBytes(const std::string& gamePath) {
  // A folder of that name opens but cannot be read: nothing, like any other unreadable file.
  try {
    std::ifstream in(NativePath(gamePath), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

FileRead ReadFileStart(const std::string& gamePath, std::size_t limit, Bytes& out) {
  out.clear();
  const std::string path = NativePath(gamePath);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
  if (!S_ISREG(st.st_mode)) return FileRead::NotAFile;
  // Non-blocking in case the name was swapped for a FIFO since the look above; checked again once open.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
  FileRead result = FileRead::Read;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    result = FileRead::NotAFile;
  } else {
    out.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
      const ssize_t n = read(fd, out.data() + got, limit - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) result = FileRead::Unreadable;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    out.resize(result == FileRead::Read ? got : 0);
  }
  close(fd);
  return result;
}

bool WriteAllBytes(const std::string& gamePath, const Bytes& bytes) {
  std::FILE* f = std::fopen(NativePath(gamePath).c_str(), "wb");
  if (!f) return false;
  // An empty file has no data to hand over: fwrite is not to be given a null pointer.
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return (std::fclose(f) == 0) && ok;
}
