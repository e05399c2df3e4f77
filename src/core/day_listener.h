// Who follows the day at the machine from outside the game (the data counter), told at the game's named points.
// The game behaves exactly the same with no listener.
#pragma once

struct DayListener {
  void (*dayStart)();          // the machine screen opened for a day
  void (*gameEnd)();           // a game has ended: its reels stopped and its result paid
  void (*dayEnd)();            // the cash-out
  void (*key)(int keyCode);    // a key on the machine screen, after the game's own dispatch
  void (*reset)();             // the program back to a new launch (tests, each simulated launch)
};

// nullptr: nobody follows the day.
void SetDayListener(const DayListener* listener);
// The listener now: one that does nothing when nobody follows the day.
const DayListener& Listener();
