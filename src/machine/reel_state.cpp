#include "machine/flash_state.h"
#include "machine/reel_state.h"

ReelState Reels;
FlashState Flash;
