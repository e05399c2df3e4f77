#include "tools/sim/data_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "counter/history_file.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "records/save_files.h"
#include "records/save_format.h"
#include "records/save_store.h"
#include "sound/sound_bank.h"

namespace fs = std::filesystem;

PairRead ReadPair(PlayerRecord* record) {
  RecoverInterruptedSave();
  const Bytes data = ReadSaveFile(kDataFiles), vbdsnd = ReadSaveFile(kVbdsnd);
  if (data.empty() && vbdsnd.empty()) return PairRead::Missing;
  const DataFilesCopy copy = DecodeDataFiles(data);
  *record = DecodeVbdsnd(vbdsnd);
  record->Name = copy.Name;
  // As the game's load and its title screen: copies that disagree, a field that holds no number or a fua speed
  // outside 1 to 4 mean broken data.
  const bool good = CopiesAgree(copy, *record) && AllFieldsFinite(*record) && FuaSpeedValid(record->FuaSpeed);
  return good ? PairRead::Good : PairRead::Broken;
}

DataFolder::DataFolder(const std::string& dir) {
  std::error_code ec;
  fs::path path = fs::absolute(dir, ec).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  dir_ = path.string();
  sound_ = dir_ + "/soundMofuran";
  try {
    for (fs::path p = path; !fs::exists(fs::symlink_status(p, ec)); p = p.parent_path()) made_.push_back(p.string());
    if (!fs::exists(fs::symlink_status(sound_, ec))) made_.insert(made_.begin(), sound_);
    fs::create_directories(sound_, ec);
    if (ec || !fs::is_directory(sound_))
      throw std::runtime_error("cannot use " + sound_ + " for the save files: " +
                               (ec ? ec.message() : std::string("it is not a folder")));
    // The game's own lock: a run beside the game or another simulator would throw away the other's winnings.
    const FolderLock lock = TakeFolderLock(sound_, "SaveFiles.lock");
    if (lock == FolderLock::HeldElsewhere)
      throw std::runtime_error(sound_ + " is in use by the game or another mofuran-sim (SaveFiles.lock is held)");
    if (lock != FolderLock::Taken)
      throw std::runtime_error("cannot lock " + sound_ + ": no lock file can be made there");
  } catch (...) {
    for (const std::string& p : made_) fs::remove(p, ec);
    throw;
  }
}

DataFolder::~DataFolder() {
  ReleaseFolderLock();
  std::error_code ec;
  // Only empty folders go: whatever anyone put there meanwhile stays.
  if (!written_)
    for (const std::string& p : made_) fs::remove(p, ec);
}

PlayerRecord DataFolder::LoadStake(const std::string& copies) const {
  std::error_code ec;
  fs::create_directories(copies, ec);
  if (ec) throw std::runtime_error("cannot make " + copies + ": " + ec.message());
  if (chdir(sound_.c_str()) != 0) throw std::runtime_error("cannot enter " + sound_ + ": " + std::strerror(errno));
  // The pair and what a save cut off may have left beside it (records/save_store.cpp), each as far as its layout
  // goes. A pair name that holds no file is broken data, as the game reads it.
  const std::pair<const char*, std::size_t> names[] = {{kDataFiles, kDataFilesSize},
                                                       {kVbdsnd, kVbdsndSize},
                                                       {kDataFilesTemp, kDataFilesSize},
                                                       {kVbdsndTemp, kVbdsndSize},
                                                       {kSaveReady, 0}};
  bool damaged = false;
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const auto [name, size] = names[i];
    Bytes bytes;
    const FileRead read = ReadFileStart(name, size, bytes);
    if (read == FileRead::Unreadable) throw std::runtime_error("cannot read " + sound_ + "/" + name);
    damaged = damaged || (read == FileRead::NotAFile && i < 2);
    if (read == FileRead::Read && !WriteAllBytes(copies + "/" + name, bytes))
      throw std::runtime_error("cannot copy " + sound_ + "/" + name + " to " + copies);
  }
  if (chdir(copies.c_str()) != 0) throw std::runtime_error("cannot enter " + copies + ": " + std::strerror(errno));
  PlayerRecord stake;
  const PairRead read = ReadPair(&stake);
  if (read == PairRead::Good && !damaged) return stake;
  if (read == PairRead::Broken || damaged)
    std::fprintf(stderr,
                 "mofuran-sim: the save files in %s are broken (their copies disagree or hold no valid numbers): "
                 "the run starts from a new player's record\n",
                 sound_.c_str());
  return InitialRecord();
}

void DataFolder::Write(const PlayerRecord& record, const std::vector<CounterDay>& days) {
  OverrideProgramFolder(dir_);
  SetAppFolder();
  if (chdir(sound_.c_str()) != 0) throw std::runtime_error("cannot enter " + sound_ + ": " + std::strerror(errno));
  const std::string path = HistoryPath();
  std::error_code ec;
  std::optional<Bytes> old;
  if (!days.empty()) {
    if (fs::is_regular_file(fs::symlink_status(path, ec)) && !(old = ReadAllBytes(path)))
      throw std::runtime_error("cannot read " + path);
    // As the game adds its days: the last ones that fit, never over a history that could not be read.
    if (!AppendToHistory(days)) throw std::runtime_error("cannot read or write " + path);
  }
  if (!WriteSavePair(EncodeDataFiles(record), EncodeVbdsnd(record))) {
    // The history goes back too: the folder holds no day that its savings do not.
    if (!days.empty() && !(old ? WriteFileSafely(path, *old) : fs::remove(path, ec)))
      std::fprintf(stderr, "mofuran-sim: %s could not be put back as it was\n", path.c_str());
    throw std::runtime_error("cannot write the save files in " + sound_);
  }
  written_ = true;
}
