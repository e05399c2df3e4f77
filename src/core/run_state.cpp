#include "core/run_state.h"

#include "core/day_listener.h"
#include "machine/flash_state.h"
#include "machine/lottery_state.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/reel_state.h"
#include "records/save_store.h"

void ResetRunState() {
  Play = PlayState{};
  Reels = ReelState{};
  Flash = FlashState{};
  Lottery = LotteryState{};
  Mc = McState{};
  Presentation = PresentationState{};
  Premonition = PremonitionState{};
  Record = PlayerRecord{};
  PlayerName.clear();
  BankruptToday = 0;
  DataBroken = 0;
  BackFromMachine = 0;
  SetSaveFolderReady(true);
  HoldSaveFiles(SaveFilesHold::Free);
  Listener().reset();
}
