#include "records/save_files.h"

// Not built yet: nothing is written.
void EndOfDaySave() {}
