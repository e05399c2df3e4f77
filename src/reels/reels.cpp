#include "reels/reels.h"
