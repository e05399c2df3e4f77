// The end of the proxy player's work, which the lottery may bring as well as the player and the contract.
#pragma once

// The proxy stops: its timer, its status line and its portrait go, and its game count starts again.
void EndProxyPlay();
// At exactly 8 MC games left the proxy may tire and stop.
void ProxyTiring();
