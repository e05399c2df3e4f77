// The result presentation of a game with a result, and the digital display.
#pragma once

void FunFun();
void Timer9_Tick();
void Timer10_Tick();
void Timer11_Tick();
