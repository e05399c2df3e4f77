// The day's hidden setting, chosen by the title screen's Start before the machine screen opens.
#pragma once

// Setting 1 at 2/7, 2..6 at 1/7 each; a player who has never held coins always gets 6.
void ChooseTodaySetting();
