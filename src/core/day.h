// The start and the end of a day at the machine.
#pragma once

// Run by the title screen's Start after it has chosen the day's setting.
void StartDay();
void Form2_Load();
// Esc: cash out, reveal the setting, save the day and return to the title screen.
void Owari();
void Form2_Unload();
