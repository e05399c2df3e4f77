#include "machine/lottery_state.h"
#include "machine/mc_state.h"

LotteryState Lottery;
McState Mc;
PresentationState Presentation;
PremonitionState Premonition;
float FuaTempo = 46.2f;
