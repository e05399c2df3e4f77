// The title screen.
#pragma once
#include <cstdint>

// 1 when the title screen is shown again after a day at the machine.
extern std::int16_t BackFromMachine;
// Shows the title screen (loading it afresh).
void ShowTitleScreen();
