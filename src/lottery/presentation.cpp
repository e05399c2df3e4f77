#include "lottery/presentation.h"

#include "lottery/mc_state.h"

// Not built yet: the presentation only marks itself as done.
void FunFun() { Presentation.PresentationPending = 0; }
void Timer9_Tick() {}
void Timer10_Tick() {}
void Timer11_Tick() {}
