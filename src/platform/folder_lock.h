// A lock file that keeps a folder to one process at a time, with the toolkit's detection of a lock left by a
// process that died: such a lock is taken over, never waited for.
#pragma once
#include <string>

enum class FolderLock { Taken, HeldElsewhere, Unavailable };

// Takes the lock file `fileName` in `folder` (a platform path) and holds it until ReleaseFolderLock() or the end
// of the run. HeldElsewhere when a live process holds it; Unavailable when no lock file can be made there.
FolderLock TakeFolderLock(const std::string& folder, const std::string& fileName);
// Gives the lock back (its file goes); nothing when none is held.
void ReleaseFolderLock();
