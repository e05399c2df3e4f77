// The text of setting_rates.txt, built into the program.
#pragma once
extern const char* const kSettingRatesText;
