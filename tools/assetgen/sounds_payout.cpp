// Small wins and the digital display: coin cascades, replay chimes, the display's jingles and roll, and the little
// signals (tease blip, puff, error, MC bet).
#include <string>

#include "instruments.h"
#include "sound_set.h"

using namespace synth;

namespace {

// One coin landing in the tray: a short bright metallic ring whose pitch varies a little from coin to coin.
Wave Coin(int index) {
  const double f = 2150 + 230 * ((index * 7) % 5) + 40 * (index % 3);
  return Struck(f, 0.22,
                {{1.0, 0.55, 0.07}, {1.48, 0.3, 0.05}, {2.31, 0.3, 0.04}, {3.87, 0.18, 0.025}, {5.6, 0.1, 0.015}});
}

// Twelve coins (the mame role pays 12) tumbling out, alternating sides, led by a chime.
SoundFile Coins(std::string name, double interval, int lead, double db) {
  Track tr = MakeTrack(0, false, true);
  Mix(tr, Bell(MidiHz(lead), 0.1, 0.9), 0, 0.35);
  Mix(tr, Bell(MidiHz(lead + 7), 0.1, 0.8), 0.06, 0.25);
  for (int i = 0; i < 12; ++i) {
    const double jitter = 0.008 * ((i * 5) % 3);
    Mix(tr, Coin(i), 0.08 + interval * i + jitter, 0.42, i % 2 ? 0.45 : -0.45);
  }
  Reverb(tr, 0.15, 0.4);
  Finish(tr, db);
  return {std::move(name), std::move(tr)};
}

SoundFile Replay(std::string name, std::initializer_list<int> notes, double gap, Voice voice, double db) {
  Track tr = MakeTrack(0, false, true);
  int i = 0;
  for (int n : notes) {
    Mix(tr, voice(MidiHz(n), 0.12, 0.9), gap * i, 0.4, -0.3 + 0.2 * i);
    Mix(tr, Glock(MidiHz(n + 12), 0.1, 0.6), gap * i, 0.12, 0.3 - 0.2 * i);
    ++i;
  }
  Echo(tr, 0.12, 0.25, 0.2);
  Finish(tr, db);
  return {std::move(name), std::move(tr)};
}

SoundFile StreakReplay() {  // Replay2: the streak is on, a rising sweep into a major chord of bells
  Track tr = MakeTrack(0, false, true);
  Wave sweep = Glide(300, 2400, 0.45, Osc::Saw, {0.01, 0.2, 0.8, 0.1});
  SweepLowPass(sweep, 600, 8000, 2);
  Mix(tr, sweep, 0, 0.25);
  const int chord[] = {79, 84, 88, 91, 96};
  for (int i = 0; i < 5; ++i) {
    Mix(tr, Bell(MidiHz(chord[i]), 0.1, 1.0), 0.45 + 0.03 * i, 0.25, -0.6 + 0.3 * i);
    Mix(tr, Glock(MidiHz(chord[i] + 12), 0.1, 0.8), 0.5 + 0.05 * i, 0.12, 0.6 - 0.3 * i);
  }
  Mix(tr, Crash(0, 0, 1), 0.45, 0.2);
  Reverb(tr, 0.3, 0.6);
  Finish(tr, level::kChime + 1.5);
  return {"Replay2.wav", std::move(tr)};
}

// degi0: the display's match, a six second victory jingle.
SoundFile MatchJingle() {
  const Tempo t{150};
  Track tr = MakeTrack(0, false, true);
  const auto chords = ParseChords("C F G C", 3);
  const auto melody =
      ParseNotes("G5:2 C6:2 E6:2 G6:4 E6:2 G6:4 | A6:4 F6:2 A6:2 C7:8 | B6:2 A6:2 G6:2 D6:2 B5:2 D6:2 G6:4 | C7:10");
  Play(tr, melody, t, Lead, 0.35, 0, -12);
  Play(tr, melody, t, Glock, 0.12, 0.3);
  Play(tr, Arpeggio(std::vector<Chord>(chords.begin(), chords.end() - 1), "0124 2124 0124 2124"), t, Koto, 0.16, -0.4,
       12);
  Play(tr, OctaveBass(std::vector<Chord>(chords.begin(), chords.end() - 1), "r-o-r-o-r-o-f-o-"), t, Bass, 0.38, 0, -12);
  Play(tr, ParseNotes("C4+E4+G4+C5:10", 48), t, Strings, 0.18, 0, 0, 1.0);
  Play(tr, ParseNotes("C6+E6+G6:8", 48), t, Bell, 0.14, 0.2);
  Play(tr, ParseGrid(Repeat("X...x...X...x...", 3) + "X"), t, Kick, 0.5);
  Play(tr, ParseGrid(Repeat("....x.......x...", 3)), t, Snare, 0.25, 0.1);
  Play(tr, ParseGrid(Repeat("x.x.x.x.x.x.x.x.", 3)), t, HiHat, 0.13, 0.35);
  Play(tr, ParseGrid("X" + std::string(47, '.') + "X"), t, Crash, 0.25, -0.2);
  Reverb(tr, 0.3, 0.7);
  Finish(tr, level::kJingle, 6.0);  // the display's match lasts six seconds
  return {"degi0.wav", std::move(tr)};
}

SoundFile NoReach() {  // degi1: a small falling "pon"
  Track tr = MakeTrack(0);
  Mix(tr, Fm(MidiHz(79), 0.05, 1.0, 1.5, 0.05, {0.002, 0.1, 0.3, 0.15}), 0, 0.5);
  Mix(tr, Fm(MidiHz(72), 0.05, 1.0, 1.2, 0.05, {0.002, 0.1, 0.3, 0.15}), 0.09, 0.4);
  Finish(tr, level::kChime - 1);
  return {"degi1.wav", std::move(tr)};
}

SoundFile WeakReach() {  // degi2: "pi-pi-pin", the two windows agree
  Track tr = MakeTrack(0, false, true);
  const int notes[] = {84, 84, 91};
  for (int i = 0; i < 3; ++i)
    Mix(tr, Blip(MidiHz(notes[i]), i == 2 ? 0.3 : 0.06, 1.0), 0.12 * i, 0.3, i == 1 ? 0.3 : -0.1);
  Mix(tr, Bell(MidiHz(91), 0.1, 1.0), 0.24, 0.35);
  Echo(tr, 0.15, 0.3, 0.25);
  Finish(tr, level::kChime);
  return {"degi2.wav", std::move(tr)};
}

SoundFile StrongReach() {  // degi3: three seconds of mounting tension: heartbeat, rising brass steps, a gong
  const Tempo t{160};
  Track tr = MakeTrack(0, false, true);
  Wave rise = Glide(110, 880, 2.6, Osc::Saw, {0.3, 0.5, 0.9, 0.1});
  SweepLowPass(rise, 300, 5000, 1.5);
  Mix(tr, rise, 0, 0.18, -0.3);
  Play(tr, ParseGrid("X..x....X..x....X..x....X.x.x.x.xxxxxxxx"), t, Kick, 0.5);
  Play(tr, ParseNotes("A4+E5:4 r:4 Bb4+F5:4 r:4 B4+F#5:4 r:4 C5+G5:4 r:2 C#5+G#5:2 D5+A5:8"), t, Brass, 0.22, 0.2);
  Play(tr, ParseGrid(std::string(24, '.') + "xxxxxxxxXXXXXXXX"), t, Snare, 0.25);
  Wave gong = Struck(110, 0.6, {{1.0, 0.5, 0.4}, {1.52, 0.4, 0.3}, {2.26, 0.3, 0.25}, {2.73, 0.25, 0.2}});
  Mix(tr, gong, 40 * t.StepSeconds(), 0.6);
  Mix(tr, Crash(0, 0, 1), 40 * t.StepSeconds(), 0.25);
  Reverb(tr, 0.25, 0.6);
  Finish(tr, level::kJingle, 3.0);  // the presentation lasts about three seconds
  return {"degi3.wav", std::move(tr)};
}

SoundFile DisplayRoll() {  // degi4: the rolling display, a one-bar loop of quick blips
  const Tempo t{150};
  Track tr = MakeTrack(16 * t.StepSeconds(), true, true);
  Play(tr, ParseNotes("C6:1 E6:1 G6:1 C7:1 G6:1 E6:1 C6:1 E6:1 D6:1 F6:1 A6:1 D7:1 A6:1 F6:1 D6:1 B5:1"), t, Blip, 0.3,
       0.2, 0, 0.8);
  Play(tr, ParseGrid("x...x...x...x..."), t, HiHat, 0.25, -0.3);
  Echo(tr, t.StepSeconds() * 3, 0.3, 0.2);
  Finish(tr, level::kChime - 1);
  return {"degi4.wav", std::move(tr)};
}

SoundFile Tease() {  // f-piro: a quick rising two-note blip
  Track tr = MakeTrack(0);
  Mix(tr, Fm(MidiHz(91), 0.05, 2.0, 1.2, 0.05, {0.002, 0.03, 0.7, 0.02}), 0, 0.35);
  Mix(tr, Fm(MidiHz(96), 0.07, 2.0, 1.2, 0.06, {0.002, 0.03, 0.7, 0.05}), 0.075, 0.35);
  Mix(tr, Glock(MidiHz(108), 0.1, 0.6), 0.075, 0.1);
  Finish(tr, level::kChime - 1, 0.4);
  return {"f-piro.wav", std::move(tr)};
}

SoundFile Puff() {  // Boffu: a soft puff of air with a gentle low body
  Track tr = MakeTrack(0);
  Wave air = Noise(0.08, {0.025, 0.12, 0.2, 0.12}, 101);
  LowPass(air, 900, 0.8);
  Mix(tr, air, 0, 0.8);
  Mix(tr, Glide(180, 90, 0.12, Osc::Sine, {0.02, 0.1, 0.4, 0.1}), 0, 0.5);
  Finish(tr, level::kChime - 2);
  return {"Boffu.wav", std::move(tr)};
}

SoundFile ErrorBeep() {  // error: "bu-bu", two falling square tones
  Track tr = MakeTrack(0);
  Wave a = Tone(880, 0.11, Osc::Square, {0.003, 0.05, 0.8, 0.03});
  Wave b = Tone(622, 0.16, Osc::Square, {0.003, 0.05, 0.8, 0.05});
  LowPass(a, 3500);
  LowPass(b, 3500);
  Mix(tr, a, 0, 0.3);
  Mix(tr, b, 0.15, 0.3);
  Finish(tr, level::kChime - 1);
  return {"error.wav", std::move(tr)};
}

SoundFile McBet() {  // mcbet: three coins dropped into the slot, quick and bright
  Track tr = MakeTrack(0);
  for (int i = 0; i < 3; ++i) Mix(tr, Coin(i + 3), 0.045 * i, 0.4);
  Mix(tr, Glock(MidiHz(96), 0.1, 0.6), 0.1, 0.12);
  Finish(tr, level::kMechanical, 0.4);
  return {"mcbet.wav", std::move(tr)};
}

}  // namespace

std::vector<SoundMaker> PayoutSounds() {
  std::vector<SoundMaker> out;
  out.push_back([=] { return Coins("mame_1.wav", 0.075, 84, level::kChime); });
  out.push_back([=] { return Coins("mame_2.wav", 0.06, 91, level::kChime); });
  out.push_back([=] { return Coins("mame_3.wav", 0.05, 96, level::kChime + 1); });
  out.push_back([=] { return Replay("Replay0.wav", {79, 84, 88}, 0.09, Bell, level::kChime); });
  out.push_back([=] { return Replay("Replay1.wav", {84, 88, 91, 96}, 0.07, Glock, level::kChime); });
  out.push_back(StreakReplay);
  out.push_back(MatchJingle);
  out.push_back(NoReach);
  out.push_back(WeakReach);
  out.push_back(StrongReach);
  out.push_back(DisplayRoll);
  out.push_back(Tease);
  out.push_back(Puff);
  out.push_back(ErrorBeep);
  out.push_back(McBet);
  return out;
}
