// The MC start sequence: after the sevens line up, Timer4 paces the intro, the count-up steps and the music;
// Timer6 rolls the counter up to the drawn length and Timer7 bumps it by one as a tease that more is to come.
#include <string>

#include "lottery/mc_sequence.h"
#include "machine/lottery_state.h"
#include "machine/machine_screen.h"
#include "machine/mc_state.h"
#include "machine/play_state.h"
#include "machine/random.h"
#include "platform/convert.h"
#include "sound/sound_bank.h"

namespace {

constexpr int kPlainMcGames = 33;
constexpr int kRollMs = 60;
constexpr int kRollStep = 111;
constexpr Colour kLiveCounter = 0xFF0000;

constexpr const char* kMcMusic[] = {"mc1.wav", "mc2.wav", "pmc1.wav", "pmc2.wav"};

std::string Last3(int n) { return RightChars(std::to_string(n), 3); }

// The counter turns red and shows the games to play; the bet lamp lights for the first MC game.
void ShowLiveCounter() {
  Form2.McCounter.ForeColor = kLiveCounter;
  Form2.McCounter.Caption = RightChars(std::to_string(Lottery.McGamesLeft), Mc.McDigits);
  Form2.Picture5.Visible = true;
}

void ShowMcLength() {
  if (Lottery.McLength > Mc.BestMcLength) {
    Mc.BestMcLength = Lottery.McLength;
    Form2.McLengthBest.Caption = " /" + std::to_string(Mc.BestMcLength);
  }
  Form2.McLengthNow.Caption = std::to_string(Lottery.McLength) + " 回";
}

void AddOne(Label& counter) { counter.Caption = std::to_string(LabelNumber(counter.Caption()) + 1); }

void PlainMcCountUp() {
  PlayBankSound("Fanfare2.wav");
  Mc.BonusPhase = 1;
  ShowLiveCounter();
  ShowMcLength();
  Form2.Timer4.Interval = 7500;
  Play.PlayAccepted = 1;
  Play.ReadyForNextGame = 1;
  AddOne(Form2.McCount);
  Mc.McRollCount = 0;
}

// Before a step with more to come, the roll may end one too high, or be bumped by one a while after it ends.
void DrawStepTease() {
  const int t = 1 + CInt(2 * Uniform());
  if (t != 1) {
    Mc.McRollExtra = 0;
    return;
  }
  const bool firstStep = Mc.McCountStep == 0;
  if (RandomInt(firstStep ? 3 : 2) == 2) {
    Mc.McRollExtra = 1;
  } else {
    Form2.Timer7.Interval = firstStep ? 5400 : 6900;
    Mc.McRollExtra = 0;
  }
}

// The rising sound of a count-up step: fua1..fua9, then fua8 and fua9 in turn.
std::string FuaSound(int step) {
  if (step >= 10) return step % 2 == 1 ? "fua8.wav" : "fua9.wav";
  return "fua" + std::to_string(step) + ".wav";
}

// From step 10 on the roll is lifted so that it lands on 1111..1999, 2111..2999 and 3999 exactly.
std::int16_t RollOffsetOf(int step) {
  if (step < 10) return Mc.McRollOffset;
  if (step <= 18) return 1;
  if (step <= 27) return 2;
  return 3;
}

void PmcCountStep() {
  if (Mc.McCountStep < Lottery.McSteps - 1) DrawStepTease();
  Mc.McStep -= 1;
  Mc.McCountStep += 1;
  const int step = Mc.McCountStep;
  PlayBankSound(FuaSound(step));
  Mc.McRollOffset = RollOffsetOf(step);
  Form2.Timer6.Interval = CInt(FuaTempo);
  const bool last = step == Lottery.McSteps;
  Form2.Timer4.Interval = last && (step == 9 || step > 10) ? 7200 : 11000;
}

void PmcFinalCount() {
  PlayBankSound("Bell.wav");
  Mc.BonusPhase = 1;
  Play.ReadyForNextGame = 1;
  Mc.McRollOffset = 0;
  ShowLiveCounter();
  ShowMcLength();
  Form2.Timer4.Interval = 4000;
  Play.PlayAccepted = 1;
  AddOne(Form2.PmcCount);
  Mc.McRollCount = 0;
  Mc.McCountStep = 0;
}

}  // namespace

void Timer4_Tick() {
  Mc.McStep += 1;
  if (Mc.McStep == 1) {
    McIntro();
  } else if (Mc.McStep == 2) {
    McCountUp();
  } else {
    McMusicStart();
    Form2.Timer4.Interval = 0;
    // The won MC's flag ends here; a first MC game already under way keeps its own.
    if (Lottery.GameFlag == GameFlags::Mc) Lottery.GameFlag = GameFlags::None;
    Mc.McStep = 0;
  }
}

void McIntro() {
  Form2.Picture29.Visible = true;
  PlayBankSound("fua0.wav");
  Form2.Timer6.Interval = kRollMs;
  Mc.McRollExtra = 0;
  if (Lottery.McLength > kPlainMcGames && RandomInt(3) == 2) {
    if (RandomInt(2) == 2)
      Form2.Timer7.Interval = 2800;
    else
      Mc.McRollExtra = 1;
  }
}

void McCountUp() {
  if (Lottery.McGamesLeft == kPlainMcGames)
    PlainMcCountUp();
  else if (Mc.McCountStep != Lottery.McSteps)
    PmcCountStep();
  else
    PmcFinalCount();
}

void McMusicStart() { LoopBankSound(McMusicFile()); }

const char* McMusicFile() {
  const bool plain = Lottery.McLength == kPlainMcGames;
  const bool fanfare = Mc.FanfareStreak == 1;
  return kMcMusic[(plain ? 0 : 2) + (fanfare ? 1 : 0)];
}

void StopMcMusic() {
  for (const char* music : kMcMusic) StopBankSound(music);
}

void Timer6_Tick() {
  Mc.McRollCount += 1;
  Form2.McCounter.Caption = Last3(Mc.McRollExtra + Mc.McRollCount + Mc.McRollOffset);
  if (Mc.McRollCount % kRollStep == 0 || Mc.McRollCount == kPlainMcGames) {
    Form2.Timer6.Interval = 0;
    Mc.McRollExtra = 0;
  }
}

void Timer7_Tick() {
  Form2.Timer7.Interval = 0;
  if (Mc.McEnding == 1) {
    PlayBankSound("bubuu.wav");
    Mc.McEnding = 2;
    Mc.BonusPhase = 0;
    Form2.McCounter.Caption = "";
  } else {
    PlayBankSound("f-piro.wav");
    Form2.McCounter.Caption = Last3(LabelNumber(Form2.McCounter.Caption()) + 1);
  }
}
