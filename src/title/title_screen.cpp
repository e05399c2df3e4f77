#include "title/title_screen.h"

#include <string>

#include "core/day.h"
#include "core/screen_flow.h"
#include "lottery/day_setting.h"
#include "machine/lottery_state.h"
#include "machine/mc_state.h"
#include "machine/money.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"
#include "machine/reel_state.h"
#include "platform/convert.h"
#include "platform/events.h"
#include "records/name_text.h"
#include "records/save_files.h"
#include "records/save_store.h"
#include "sound/sound_bank.h"
#include "sound/sound_library.h"
#include "title/title_data.h"
#include "title/title_form.h"

void (*LocateAppFolder)() = SetAppFolder;

namespace {

bool g_released = false;
// Set by the first load of the title screen. A machine screen opened on its own (a test play of the machine
// alone) has no title screen to go back to, so its day ends with the machine screen.
bool g_titleOpened = false;

Currency Yen(double yen) { return Currency::FromYen(yen); }

const char* ContractName(float contract) {
  if (contract == 100) return "●『もこじろう』";
  if (contract == 300) return "●『もこたろう』";
  if (contract == 1000) return "●『もこパパ』";
  if (contract == 5000) return "●『にゃんすけ』";
  if (contract == 15000) return "●『もこゴッド』";
  return "";
}

// The fua speed and the count-up tempo that goes with it, saved at once.
void ChooseFuaSpeed(float speed, float tempo) {
  Record.FuaSpeed = speed;
  FuaTempo = tempo;
  SaveData();
}

void ShowSavings() { Form1.Text8.Text = FormatMoney(Record.Savings); }

}  // namespace

bool SoundBankReleased() { return g_released; }

void RegisterTitleScreen() { RegisterScreen(ScreenName::Title, ShowTitleScreen); }

void ShowTitleScreen() {
  if (!g_titleOpened) return;
  if (Form1.Loaded()) Form1.Unload();
  Form1.Show();
}

void Form1_Load() {
  g_titleOpened = true;
  // 1. A fresh seed, the program's folder, the reel speed and the normal count-up tempo.
  Randomize();
  LocateAppFolder();
  Reels.ReelStep = 15;
  FuaTempo = 46.2f;

  // 2. The save files and the sounds live in the sound folder; without it no save file is touched anywhere.
  SetSaveFolderReady(EnterSoundFolder());
  if (dsInit(&Form1) == 0) {
    MsgBox("DirectSoundは使えません。", vbOKOnly);
    return;
  }
  g_released = false;

  // 3. The sound bank, the opening chime and the record.
  SoundSet();
  PlayBankSound("StSound5.wav");
  LoadData();

  // 4. Old fast-play coin counts.
  UpgradeFastPlayCoins();

  // 5. The shop opens from 80,000 yen; a player left with less than 1,000 yen gets 30,000 to play with.
  const Currency shown = ReadMoney(Form1.Text8.Text());
  if (shown > Yen(79999)) {
    Form1.Command3.Visible = true;
  } else {
    Form1.Command3.Visible = false;
    if (shown < Yen(1000)) {
      Record.Savings = Yen(30000);
      ShowSavings();
      SaveData();
    }
  }

  // 6. The fua speed; any other value means the data are broken.
  if (Record.FuaSpeed == 1) {
    Form1.Option8.Value = true;
  } else if (Record.FuaSpeed == 2) {
    Form1.Option7.Value = true;
  } else if (Record.FuaSpeed == 3) {
    Form1.Option6.Value = true;
  } else if (Record.FuaSpeed == 4) {
    Form1.Option5.Value = true;
  } else {
    CheckFuaSpeed();
  }

  // 7. The digital display speed.
  Form1.Text27.Text = SingleText(Record.DigitalSpeed);

  // 8. The proxy player, the T key and the membership.
  if (Record.ProxyContract > 1) {
    Form1.Label11.Visible = true;
    Form1.Text3.Text = std::string(ContractName(Record.ProxyContract)) + "と契約";
  }
  if (Record.FastPlayCoins > 1) {
    Form1.Label11.Visible = true;
    Form1.Text17.Text = "●超便利！『Ｔ』(もこ)ボタン " + SingleText(Record.FastPlayCoins) + "枚補償！";
  }
  if (Record.MembershipGames == ItemCodes::Membership) Form1.Text26.Text = "闇会員権ＧＥＴ！（閉店時間が遅くなるぞっ！！）";

  // 9-11. The switchable items, each in its frame.
  if (Record.PmcUpItem > 8) {
    Form1.Label11.Visible = true;
    Form1.Frame3.Visible = true;
    if (Record.PmcUpItem != ItemCodes::PmcUpInUse) Form1.Option10.Value = true;
    Form1.Text18.Text = "●ＰＭＣ(ﾌﾟﾚﾐｱﾑﾓﾌﾗﾝﾁｬﾝｽ)確率ＵＰ(８％程度)";
  }
  if (Record.SpectaclesItem > 9) {
    Form1.Label11.Visible = true;
    Form1.Frame4.Visible = true;
    if (Record.SpectaclesItem != ItemCodes::SpectaclesInUse) Form1.Option11.Value = true;
    Form1.Text19.Text = "●究極！！設定看破メガネ";
    if (Record.SpectaclesGrade > 810) Form1.Text25.Text = "(度数ＵＰ版)";
  }
  if (Record.FanfareX5Item > 15) {
    Form1.Label11.Visible = true;
    Form1.Frame5.Visible = true;
    if (Record.FanfareX5Item != ItemCodes::FanfareInUse) Form1.Option14.Value = true;
    Form1.Text20.Text = "●驚愕！！ファンファー連突入率５倍";
    Form1.Command2.Caption = "終　了";
  } else {
    Form1.Command5.Visible = false;
  }

  // 12. The display is bought once per run.
  if (Lottery.LotteryDisplayBought == 1) Form1.Command5.Visible = false;

  // 13. After a day the screen is the record of the day.
  if (BackFromMachine == 1) {
    Form1.Command1.Visible = false;
    Form1.Frame2.Visible = false;
    Form1.Label6.Caption = PlayerName + "さんの記録！！";
    Form1.Command2.Caption = "終　了";
    Form1.Command2.Enabled = true;
    Form1.Command5.Visible = false;
  }

  // 14. The digital speed in steps, as the machine's keys count it.
  Play.DigitalSpeedSteps = CInt(Record.DigitalSpeed);
}

void Text4_Change() {
  const std::string& text = Form1.Text4.Text();
  // Blanks alone are no name: registering them would store an empty one.
  Form1.Command2.Enabled = !BlankName(text);
  // The access code brings out the initialise button; it stays out for this load.
  if (text == "kemukemu") Form1.Command4.Visible = true;
}

void Text4_Enter() {
  // Only while the button registers: Enter in a text box never quits the game.
  if (Form1.Command2.Enabled() && Form1.Command2.Visible() && Form1.Command2.Caption() == "名前登録")
    Command2_Click();
}

void Command2_Click() {
  if (Form1.Command2.Caption() == "終　了") {
    Form1.Unload();
    ReleaseSoundBank();
    g_released = true;
    return;
  }
  // Name registration, of the name without its control characters.
  const std::string typed = Trim(FixedName(WithoutControls(Form1.Text4.Text())));
  if (BlankName(typed)) return;
  // A character the save file cannot hold would come back as "?": the player chooses another name first.
  if (!CodePageHolds(typed)) {
    MsgBox("この文字は名前に使えません。", vbOKOnly, "注意！");
    return;
  }
  LoadData();
  const std::string stored = PlayerName;
  if (!stored.empty() && stored != typed) {
    if (MsgBox(stored + "さんの名前を変更しますか？", vbYesNo, "注意！") == vbYes) {
      Form1.Text4.Text = typed;
      SaveData();
    } else {
      LoadData();
    }
  } else if (!stored.empty()) {
    SaveData();
  } else {
    Form1.Text4.Text = typed;
    SaveData();
    LoadData();
  }
}

void Command4_Click() {
  if (!InitialiseData()) return;
  for (TextBox* t : {&Form1.Text3, &Form1.Text17, &Form1.Text18, &Form1.Text19, &Form1.Text20, &Form1.Text25,
                     &Form1.Text26})
    t->Text = "";
  Form1.Label11.Visible = false;
  Form1.Frame3.Visible = false;
  Form1.Frame4.Visible = false;
  Form1.Frame5.Visible = false;
}

void Command5_Click() {
  // Asked again after every refusal for want of money, until the player declines.
  for (;;) {
    if (MsgBox("このアイテムは買った時のみ使用します", vbYesNo, "１０万円です。") == vbNo) return;
    if (Record.Savings < Yen(130000)) {
      MsgBox("お金が足りません・・・。", vbOKOnly);
      continue;
    }
    Form1.Command5.Visible = false;
    Lottery.LotteryDisplayBought = 1;
    PlayBankSound("Bell.wav");
    Record.Savings.units -= Yen(100000).units;
    ShowSavings();
    SaveData();
    return;
  }
}

void Command3_Click() {
  PlayBankSound("f-piro.wav");
  ShowScreen(ScreenName::Shop);
  Form1.Unload();
}

void Command1_Click() {
  if (BlankName(Form1.Text4.Text())) MsgBox("テストプレイでオープンします。", vbOKOnly, "注意！");
  Play.ProxyInterval = 260;
  Play.ScreenClosed = 0;
  ChooseTodaySetting();
  // The machine screen is up before the title screen goes, so that the program never stands without a window.
  ShowScreen(ScreenName::Machine);
  Form1.Unload();
}

// The option clicks, each saved at once.
void Option8_Click() { ChooseFuaSpeed(1, 47.0f); }
void Option7_Click() { ChooseFuaSpeed(2, 46.2f); }
void Option6_Click() { ChooseFuaSpeed(3, 45.0f); }
void Option5_Click() { ChooseFuaSpeed(4, 44.0f); }

void Option9_Click() {
  Record.PmcUpItem = ItemCodes::PmcUpInUse;
  Form1.Text18.Enabled = true;
  SaveData();
}
void Option10_Click() {
  Record.PmcUpItem = ItemCodes::PmcUpIdle;
  Form1.Text18.Enabled = false;
  SaveData();
}
void Option12_Click() {
  Record.SpectaclesItem = ItemCodes::SpectaclesInUse;
  Form1.Text19.Enabled = true;
  if (Record.SpectaclesGrade == ItemCodes::UpgradeIdle) Record.SpectaclesGrade = ItemCodes::UpgradeInUse;
  SaveData();
}
void Option11_Click() {
  Record.SpectaclesItem = ItemCodes::SpectaclesIdle;
  Form1.Text19.Enabled = false;
  if (Record.SpectaclesGrade == ItemCodes::UpgradeInUse) Record.SpectaclesGrade = ItemCodes::UpgradeIdle;
  SaveData();
}
void Option13_Click() {
  Record.FanfareX5Item = ItemCodes::FanfareInUse;
  Form1.Text20.Enabled = true;
  SaveData();
}
void Option14_Click() {
  Record.FanfareX5Item = ItemCodes::FanfareIdle;
  Form1.Text20.Enabled = false;
  SaveData();
}
