#include "title/title_screen.h"

std::int16_t BackFromMachine = 0;

// Not built yet: there is no title screen to return to, so the day ends with the machine screen.
void ShowTitleScreen() {}
