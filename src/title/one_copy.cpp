#include "title/one_copy.h"

#include <sys/stat.h>

#include "platform/events.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "sound/sound_bank.h"
#include "title/title_screen.h"

bool TakeSaveFolder() {
  LocateAppFolder();
  const std::string folder = NativePath(SoundFolder());
  if (!FileExists(folder)) mkdir(folder.c_str(), 0777);
  // Without a lock file (a folder that cannot be written) the saves fail and say so; the game still starts.
  if (TakeFolderLock(folder, "SaveFiles.lock") != FolderLock::HeldElsewhere) return true;
  MsgBox("モフランは既に起動しています。", vbOKOnly, "注意！");
  return false;
}
