#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"

LotteryState Lottery;
McState Mc;
PresentationState Presentation;
PremonitionState Premonition;
float FuaTempo = 46.2f;
