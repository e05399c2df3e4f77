// The digital display: three small windows beside the reels that roll digits and stop on a three-character
// target. A match (all three equal) is the display's premium outcome, a reach has its first two windows equal.
#pragma once

// Each builds Presentation.DigitalTarget and starts the three window timers. In a digital-display game
// (GameFlag 4) the targets avoid the premium patterns; any other game draws them as premonitions of a won MC.
void SoroiDegime();
void ReachDegime();
void UnReachDegime();

// Stops the three windows where they are and hides them.
void StopDigitalDisplay();

// The window ticks: Timer9 left, Timer10 centre, Timer11 right.
void Timer9_Tick();
void Timer10_Tick();
void Timer11_Tick();
