#include "reels/flash_state.h"
#include "reels/reel_state.h"

ReelState Reels;
FlashState Flash;
