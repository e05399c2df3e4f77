#include "title/one_copy.h"

#include <sys/stat.h>

#include "platform/events.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "records/save_store.h"
#include "sound/sound_bank.h"
#include "title/title_screen.h"

bool TakeSaveFolder() {
  LocateAppFolder();
  const std::string folder = NativePath(SoundFolder());
  if (!FileExists(folder)) mkdir(folder.c_str(), 0777);
  const FolderLock lock = TakeFolderLock(folder, "SaveFiles.lock");
  // Without a lock (a folder that cannot be written, a lock name that cannot be cleared) another copy might be
  // saving too: this one plays without saving, and each save says so.
  if (lock == FolderLock::Unavailable) HoldSaveFiles(SaveFilesHold::NoWrites);
  if (lock != FolderLock::HeldElsewhere) return true;
  MsgBox("モフランは既に起動しています。", vbOKOnly, "注意！");
  return false;
}
