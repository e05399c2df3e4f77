#include "core/run_state.h"

#include "core/play_state.h"
#include "counter/counter.h"
#include "lottery/lottery_state.h"
#include "lottery/mc_state.h"
#include "records/player_record.h"
#include "records/save_store.h"
#include "reels/flash_state.h"
#include "reels/reel_state.h"
#include "title/title_screen.h"

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
  ResetCounter();
}
