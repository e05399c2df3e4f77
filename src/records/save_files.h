// The two save files.
#pragma once

// The cash-out at the end of a day: merges the day into the stored record and writes both files.
void EndOfDaySave();
