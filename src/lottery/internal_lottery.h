// The internal lottery drawn at every lever-on of a normal game.
#pragma once

void InternalLottery();
