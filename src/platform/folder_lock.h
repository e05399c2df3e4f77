// A lock file that keeps a folder to one process at a time. The kernel holds the lock for the process and lets
// it go when the process ends, however it ends; what the file holds is never read, so a lock file left behind by
// a crash, emptied, filled with garbage or written on another machine never blocks.
#pragma once
#include <string>

enum class FolderLock { Taken, HeldElsewhere, Unavailable };

// Takes the lock file `fileName` in `folder` (a platform path) and holds it until ReleaseFolderLock() or the end
// of the run. Whatever stands under that name and is no plain file (a link, a folder, a pipe) is cleared first.
// HeldElsewhere when a running process holds it; Unavailable when no lock file can be made there.
FolderLock TakeFolderLock(const std::string& folder, const std::string& fileName);
// Gives the lock back (its file goes); nothing when none is held.
void ReleaseFolderLock();
