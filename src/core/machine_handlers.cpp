#include "core/machine_handlers.h"

#include "core/day.h"
#include "core/day_listener.h"
#include "core/game_cycle.h"
#include "core/key_dispatch.h"
#include "core/proxy_play.h"
#include "lottery/digital_display.h"
#include "lottery/mc_sequence.h"
#include "machine/machine_screen.h"
#include "reels/reels.h"

void ConnectMachineScreen() {
  Form2.OnLoad = Form2_Load;
  Form2.OnUnload = Form2_Unload;
  // A listener (the data counter's D key) sees a key after everything the game's own dispatch does with it.
  Form2.OnKeyDown = [](int keyCode, int shift) {
    Form_KeyDown(keyCode, shift);
    Listener().key(keyCode);
  };
  Form2.Timer1.OnTick = [] { ReelTick(0); };
  Form2.Timer2.OnTick = [] { ReelTick(1); };
  Form2.Timer3.OnTick = [] { ReelTick(2); };
  Form2.Timer4.OnTick = Timer4_Tick;
  Form2.Timer5.OnTick = Timer5_Tick;
  Form2.Timer6.OnTick = Timer6_Tick;
  Form2.Timer7.OnTick = Timer7_Tick;
  Form2.Timer8.OnTick = Timer8_Tick;
  Form2.Timer9.OnTick = Timer9_Tick;
  Form2.Timer10.OnTick = Timer10_Tick;
  Form2.Timer11.OnTick = Timer11_Tick;
  Form2.Timer12.OnTick = Timer12_Tick;
}
