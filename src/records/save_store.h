// Writing the two save files so that a crash or a power cut at any moment leaves either the old pair or the new
// pair on disk, never one of each. Both new files are written to temporary names beside the old ones and flushed
// to disk; a marker then says that both are complete, and only after it do they replace the old ones. A save cut
// off after the marker is completed at the next read; one cut off before it is discarded.
#pragma once
#include "platform/files.h"

// The names a save passes through beside the two files: their new copies, and the marker that both are complete.
constexpr char kDataFilesTemp[] = "DataFiles.new";
constexpr char kVbdsndTemp[] = "VBDSND1.DLL.new";
constexpr char kSaveReady[] = "SaveFiles.ready";

// Writes both files (in the working folder); false when they cannot be written, the old files then untouched.
bool WriteSavePair(const Bytes& dataFiles, const Bytes& vbdsnd);
// Completes or discards a save that was cut off. Runs before every read and write of the save files.
void RecoverInterruptedSave();
// A save file's bytes, no more than its layout uses; a missing file reads as empty, and so does anything else.
// `how` tells why: NotAFile (a folder, a FIFO, a device under the name) is damage; Unreadable (no permission, a
// failing disk) is not, and the file must then be left as it is.
Bytes ReadSaveFile(const char* name, FileRead* how = nullptr);

// The save files live in the sound folder and nowhere else. The title screen's load says here whether it could
// make that folder the working folder; while it could not, no save file is read or written anywhere: they read
// as missing and every save fails.
void SetSaveFolderReady(bool ready);
bool SaveFolderReady();

// For the rest of the run, once a save file could not be read or the folder's lock could not be taken: the save
// files are left alone. NoWrites still reads them; Untouched does not even read them, and the folder then counts
// as not ready. A hold only ever tightens during a run; Free lifts it (a new run).
enum class SaveFilesHold { Free, NoWrites, Untouched };
void HoldSaveFiles(SaveFilesHold hold);
SaveFilesHold SaveFilesHeld();

// Any other file of the game written the same way, alone: a temporary beside it ("<path>.new"), flushed, then
// renamed over it, so that a cut leaves the old file or the new one. False when it cannot be written (the old file
// then untouched). RecoverSingleFile removes a temporary left by a cut-off write; it runs before each write.
bool WriteFileSafely(const std::string& path, const Bytes& bytes);
void RecoverSingleFile(const std::string& path);

// The steps of a save, for tests that cut one off or make one fail.
constexpr int kSaveSteps = 14;
struct SaveInterruption {
  // Acts out a power cut: steps after this one are not done and nothing is cleaned up (0: off).
  int cutAfterStep = 0;
  // Acts out a write error (a full disk) at this step (0: off).
  int failAtStep = 0;
  // Acts out a failing disk: reading the save file of this name fails (nullptr: off).
  const char* unreadable = nullptr;
};
extern SaveInterruption SaveFaults;
