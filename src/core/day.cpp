#include "core/day.h"

#include "core/day_listener.h"
#include "core/game_cycle.h"
#include "core/proxy_play.h"
#include "core/screen_flow.h"
#include "lottery/stop_sounds.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "platform/vk.h"
#include "records/save_files.h"
#include "reels/reels.h"
#include "sound/sound_bank.h"

namespace {
bool IsSpecialName(const std::string& name) {
  return name == "ぽてまるん" || name == "雑ノリ" || name == "kite07" || name == "くもたこ";
}
}  // namespace

void StartDay() {
  BuildReelStrips();
  // The title screen is closed by its own Start; the machine screen loads now.
  Form2.Show();
  if (Play.KeyState[vkUp] == 1) {
    Play.LeverOn = 1;
    Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 0;
    SndPlaySound(AppFolder + sounds::kLeverOn0);
    WaitForStops();
  }
}

void Form2_Load() {
  // A handler still unwinding after the screen was closed must not start a new day.
  if (Play.ScreenClosed == 1) return;
  LoadMachinePictures();
  DrawInitialReels();
  Play.LeftStopPressed = Play.CentreStopPressed = Play.RightStopPressed = 1;
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 1;
  Play.PlayAccepted = 1;
  Play.ReadyForNextGame = 1;
  const char* name = nullptr;
  if (ProxyNameOf(Record.ProxyContract, &name)) Play.ProxyName = name;
  ProxyWalkOut();
  Form2.SetCaption(Record.SpectaclesItem == ItemCodes::SpectaclesInUse ? SpectaclesCaption() : HiddenCaption());
  if (RandomInt(30) == 5) RevealSetting();
  Mc.McDigits = 3;
  Play.StopSoundIndex = 0;
  BankruptToday = 0;
  Play.MoneyOnHand = Record.Savings;
  Form2.Money.Caption = FormatMoney(Record.Savings);
  Play.ContractGames = CInt(Record.ProxyContract);
  if (Record.ProxyContract > 1) Form2.ProxyHelp.Visible = true;
  if (Record.FastPlayCoins > 1) {
    Form2.FastPlayHelp.Caption = "：「Ｔ」　　" + SingleText(Record.FastPlayCoins) + "枚補償早回し";
    Form2.FastPlayHelp.Visible = true;
  }
  if (Record.FanfareX5Item == ItemCodes::FanfareInUse) Form2.FanfareItemLine.Visible = true;
  if (Record.PmcUpItem == ItemCodes::PmcUpInUse) Form2.PmcUpItemLine.Visible = true;
  if (Record.MembershipGames == ItemCodes::Membership) Form2.MembershipLine.Visible = true;
  if (PlayerName == "ぽてまるん") {
    Form2.Text1.Visible = true;
    Form2.LotteryReadout.Visible = true;
  }
  if (IsSpecialName(PlayerName) || Lottery.LotteryDisplayBought == 1) Form2.LotteryReadout.Visible = true;
  Form2.SpeedHelp.Caption = SpeedLine();
  Listener().dayStart();
}

void Owari() {
  if (MsgBox("換金して終了しますか？", vbYesNo, "終了しますか？") == vbNo) return;
  MsgBox("設定は「" + std::to_string(Lottery.TodaySetting) + "」でした。", vbOKOnly, "本日のセテーイ");
  Form2.ProxyStatus.Caption = "しばらくお待ち下さい。";
  Form2.ProxyStatus.Visible = true;
  if (!PlayerName.empty()) EndOfDaySave();
  Listener().dayEnd();
  BackFromMachine = 1;
  ShowScreen(ScreenName::Title);
  Form2.Unload();
}

void Form2_Unload() {
  Form2.Timer1.Interval = 0;
  Form2.Timer2.Interval = 0;
  Form2.Timer3.Interval = 0;
  Play.ScreenClosed = 1;
}
