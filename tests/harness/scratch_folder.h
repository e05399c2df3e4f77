// A fresh empty folder for one test, made the working folder while the test runs; the old working folder and
// the folder's removal come back at the end.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.h"

class ScratchFolder {
 public:
  ScratchFolder() : previous_(CurrentFolder()) {
    // In memory where the system offers it: the saves flush to disk at every step, and the tests save often.
    const std::filesystem::path base =
        access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
    std::string pattern = (base / "mofuran-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    ChangeFolder(path_);
  }
  ~ScratchFolder() {
    ChangeFolder(previous_);
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string previous_;
  std::string path_;
};
