// Everything under a folder, each file with its bytes (a folder with none), but the lock, which only says who holds
// the folder: to see that a run left a folder as it found it.
#pragma once
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

inline std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.path().filename() != "SaveFiles.lock") {
      std::ifstream in(e.path(), std::ios::binary);
      files[e.path().string()] = e.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "";
    }
  return files;
}
