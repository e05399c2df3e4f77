// The machine screen's keys: every key press goes through Form_KeyDown to MainLoopSub.
#pragma once

void Form_KeyDown(int keyCode, int shift);
// Dispatches the current KeyCode; also called by the proxy player's tick.
void MainLoopSub();
