// Where the player goes next is asked of this one place. The machine is the day's own (StartDay); the screens
// above the game (the title, the shop, the data counter) register how each is shown, so that nothing below them
// calls up into a screen.
#pragma once

enum class ScreenName { Title, Machine, Shop, Counter };

// How a screen is shown: the title loaded afresh, the shop opened, the data counter opened (or closed when open).
void RegisterScreen(ScreenName screen, void (*show)());
// Shows it; a screen nobody registered is not part of this program and nothing happens.
void ShowScreen(ScreenName screen);
