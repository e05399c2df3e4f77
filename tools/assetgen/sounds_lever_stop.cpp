// Lever and reel-stop sounds. The plain ones are short and dry because they come every game; the premonition and
// reveal ones are each built from a different idea (chime, sweep, cascade, zap, koto, siren) so the ear tells them
// apart instantly.
#include <cmath>
#include <numbers>

#include "instruments.h"
#include "sound_set.h"

using namespace synth;

namespace {

// A hard wooden knock: a few inharmonic modes that die within tens of milliseconds, plus a click.
Wave WoodKnock(double f, double length = 0.14) {
  Wave w = Struck(f, length, {{1.0, 1.0, 0.035}, {2.52, 0.45, 0.018}, {4.6, 0.22, 0.009}, {6.3, 0.1, 0.006}});
  Wave click = Noise(0.002, {0.0003, 0.0015, 0.3, 0.002}, 5);
  HighPass(click, 2500);
  Append(w, click, 0);
  return w;
}

// The lever: a knock of the lever hitting its stop, a low body thump and the return click.
Wave LeverClack() {
  Wave w = WoodKnock(430, 0.16);
  Wave thump = Glide(140, 70, 0.05, Osc::Sine, {0.001, 0.04, 0.3, 0.05});
  Scale(thump, 0.8);
  Append(w, thump, 0);
  Wave ret = WoodKnock(760, 0.08);
  Scale(ret, 0.35);
  Append(w, ret, 0.055);
  Wave spring = Struck(1850, 0.12, {{1.0, 0.06, 0.05}, {1.5, 0.03, 0.03}});
  Append(w, spring, 0.06);
  return w;
}

SoundFile Mono(std::string name, const Wave& w, double db) {
  Track tr = MakeTrack(0);
  Mix(tr, w, 0, 1);
  Finish(tr, db);
  return {std::move(name), std::move(tr)};
}

SoundFile Lever1() {  // a soft single chime after the clack
  Track tr = MakeTrack(0);
  Mix(tr, LeverClack(), 0, 0.6);
  Mix(tr, Bell(MidiHz(88), 0.1, 0.6), 0.05, 0.45);
  Mix(tr, Bell(MidiHz(95), 0.1, 0.5), 0.12, 0.25);
  Finish(tr, level::kChime - 2);
  return {"LeverOn1.wav", std::move(tr)};
}

SoundFile Lever2() {  // three rising chimes, brighter and louder
  Track tr = MakeTrack(0);
  Mix(tr, LeverClack(), 0, 0.6);
  const int notes[] = {88, 92, 95, 100};
  for (int i = 0; i < 4; ++i) Mix(tr, Bell(MidiHz(notes[i]), 0.1, 0.9), 0.04 + 0.07 * i, 0.4);
  for (int i = 0; i < 4; ++i) Mix(tr, Glock(MidiHz(notes[i] + 12), 0.1, 0.7), 0.04 + 0.07 * i, 0.18);
  Finish(tr, level::kChime + 0.5);
  return {"LeverOn2.wav", std::move(tr)};
}

SoundFile Lever3() {  // the announcement: a sweep rising into a sparkling chord
  Track tr = MakeTrack(0, false, true);
  Mix(tr, LeverClack(), 0, 0.55);
  Wave sweep = Glide(180, 1760, 0.85, Osc::Saw, {0.05, 0.3, 0.8, 0.12});
  SweepLowPass(sweep, 400, 7000, 2.5);
  Wave sweep2 = Glide(182, 1772, 0.85, Osc::Saw, {0.05, 0.3, 0.8, 0.12});
  SweepLowPass(sweep2, 400, 7000, 2.5);
  Mix(tr, sweep, 0.05, 0.3, -0.5);
  Mix(tr, sweep2, 0.05, 0.3, 0.5);
  const int chord[] = {84, 88, 91, 96, 100};
  for (int i = 0; i < 5; ++i) Mix(tr, Glock(MidiHz(chord[i] + 12), 0.1, 0.8), 0.82 + 0.035 * i, 0.22, -0.6 + 0.3 * i);
  for (int i = 0; i < 3; ++i) Mix(tr, Bell(MidiHz(chord[i] + 12), 0.1, 0.9), 0.9, 0.22, -0.4 + 0.4 * i);
  Reverb(tr, 0.35, 0.6);
  Finish(tr, level::kChime + 1.5);
  return {"LeverOn3.wav", std::move(tr)};
}

SoundFile Lever4() {  // the tense lever of an MC's last games: a clack over a beating low drone and a heartbeat
  Track tr = MakeTrack(0);
  Mix(tr, LeverClack(), 0, 0.6);
  Wave a = Tone(110, 0.45, Osc::Saw, {0.02, 0.2, 0.7, 0.15});
  Wave b = Tone(116.5, 0.45, Osc::Saw, {0.02, 0.2, 0.7, 0.15});
  LowPass(a, 700);
  LowPass(b, 700);
  Mix(tr, a, 0.03, 0.35);
  Mix(tr, b, 0.03, 0.35);
  Mix(tr, Kick(0, 0, 1), 0.03, 0.5);
  Mix(tr, Kick(0, 0, 1), 0.25, 0.35);
  Finish(tr, level::kMechanical + 1);
  return {"LeverOn4.WAV", std::move(tr)};
}

SoundFile HeavyStop() {  // it blacks the reels out: a deep drum and a dark gong-like metal
  Track tr = MakeTrack(0);
  Mix(tr, Taiko(58, 0, 1), 0, 0.8);
  Wave metal = Struck(138, 0.5, {{1.0, 0.5, 0.2}, {1.59, 0.4, 0.14}, {2.13, 0.3, 0.1}, {2.9, 0.2, 0.07}});
  LowPass(metal, 900);
  Mix(tr, metal, 0, 0.6);
  Mix(tr, WoodKnock(300, 0.1), 0, 0.4);
  Finish(tr, level::kMechanical + 1);
  return {"StSound4.wav", std::move(tr)};
}

SoundFile BrightStop() {  // the MC stop: a knock with a bright ping on top
  Track tr = MakeTrack(0);
  Mix(tr, WoodKnock(900, 0.1), 0, 0.6);
  Mix(tr, Glock(MidiHz(96), 0.1, 0.9), 0.004, 0.45);
  Mix(tr, Glock(MidiHz(103), 0.1, 0.6), 0.004, 0.15);
  Finish(tr, level::kMechanical, 0.35);
  return {"StSound5.wav", std::move(tr)};
}

SoundFile RevealChord() {  // StSound7: a big major chord stab with a crash
  Track tr = MakeTrack(0, false, true);
  const int chord[] = {60, 64, 67, 72, 76};
  for (int i = 0; i < 5; ++i) {
    Mix(tr, Brass(MidiHz(chord[i]), 0.55, 1.0), 0, 0.16, -0.5 + 0.25 * i);
    Mix(tr, Stab(MidiHz(chord[i] + 12), 0.12, 1.0), 0, 0.12, 0.5 - 0.25 * i);
  }
  Mix(tr, Crash(0, 0, 1), 0, 0.35);
  Mix(tr, Kick(0, 0, 1), 0, 0.6);
  Mix(tr, WoodKnock(700), 0, 0.4);
  Reverb(tr, 0.3, 0.5);
  Finish(tr, level::kChime + 1);
  return {"StSound7.wav", std::move(tr)};
}

SoundFile RevealCascade() {  // StSound7c: a quick falling run of bells onto a low bell
  Track tr = MakeTrack(0, false, true);
  Mix(tr, WoodKnock(700), 0, 0.4);
  const int run[] = {108, 103, 100, 96, 91, 88, 84, 79};
  for (int i = 0; i < 8; ++i) Mix(tr, Glock(MidiHz(run[i]), 0.1, 0.9), 0.01 + 0.045 * i, 0.3, 0.7 - 0.2 * i);
  Mix(tr, Bell(MidiHz(72), 0.1, 1.0), 0.37, 0.55);
  Mix(tr, Bell(MidiHz(79), 0.1, 0.8), 0.37, 0.3);
  Echo(tr, 0.11, 0.3, 0.3);
  Finish(tr, level::kChime);
  return {"StSound7c.wav", std::move(tr)};
}

SoundFile RevealZap() {  // StSound7e: an electric zap falling then springing back up, with a metallic buzz
  Track tr = MakeTrack(0, false, true);
  Mix(tr, WoodKnock(700), 0, 0.4);
  Wave down = Glide(3200, 180, 0.28, Osc::Square, {0.002, 0.1, 0.8, 0.03});
  LowPass(down, 6000);
  Wave up = Glide(180, 2400, 0.4, Osc::Saw, {0.01, 0.2, 0.8, 0.15});
  // ring modulation gives the electric edge
  for (size_t i = 0; i < up.size(); ++i)
    up[i] *= float(0.6 + 0.4 * std::sin(2 * std::numbers::pi * 73 * double(i) / kRate));
  LowPass(up, 5000);
  Mix(tr, down, 0.01, 0.35, -0.4);
  Mix(tr, up, 0.3, 0.35, 0.4);
  Mix(tr, Fm(MidiHz(81), 0.3, 1.41, 4, 0.2, {0.005, 0.1, 0.6, 0.2}), 0.3, 0.18);
  Echo(tr, 0.09, 0.35, 0.35);
  Finish(tr, level::kChime);
  return {"StSound7e.wav", std::move(tr)};
}

SoundFile RevealKoto() {  // StSound7ni: a koto strum in the miyako-bushi scale over a taiko stroke
  Track tr = MakeTrack(0, false, true);
  const int strum[] = {64, 65, 69, 71, 72, 76};
  for (int i = 0; i < 6; ++i) Mix(tr, Koto(MidiHz(strum[i]), 0.6, 0.9), 0.025 * i, 0.45, -0.5 + 0.2 * i);
  Mix(tr, Koto(MidiHz(76), 0.3, 1.0), 0.36, 0.5, 0.2);
  Mix(tr, Koto(MidiHz(77), 0.2, 0.8), 0.48, 0.35, -0.2);
  Mix(tr, Koto(MidiHz(76), 0.5, 0.8), 0.56, 0.45, 0);
  Mix(tr, Taiko(70, 0, 1), 0, 0.7);
  Mix(tr, Taiko(70, 0, 1), 0.36, 0.45);
  Reverb(tr, 0.25, 0.5);
  Finish(tr, level::kChime);
  return {"StSound7ni.wav", std::move(tr)};
}

SoundFile RevealSiren() {  // StSound75: the announcement's middle stop, a rising "kyuiin" with a bright crown
  Track tr = MakeTrack(0, false, true);
  Mix(tr, WoodKnock(900), 0, 0.4);
  for (int side = -1; side <= 1; side += 2) {
    Wave s = Glide(330 * (1 + 0.006 * side), 1980 * (1 + 0.006 * side), 0.75, Osc::Saw, {0.01, 0.3, 0.85, 0.2});
    SweepLowPass(s, 800, 8000, 1.6);
    for (size_t i = 0; i < s.size(); ++i)  // a fast flutter, like a spinning lamp
      s[i] *= float(0.75 + 0.25 * std::sin(2 * std::numbers::pi * 14 * double(i) / kRate));
    Mix(tr, s, 0.02, 0.3, 0.6 * side);
  }
  Mix(tr, Bell(MidiHz(95), 0.1, 1.0), 0.76, 0.4, -0.3);
  Mix(tr, Bell(MidiHz(100), 0.1, 1.0), 0.8, 0.35, 0.3);
  Reverb(tr, 0.3, 0.5);
  Finish(tr, level::kChime + 1);
  return {"StSound75.wav", std::move(tr)};
}

SoundFile StreakStop() {  // StSound8: a short brass stab with a snare
  Track tr = MakeTrack(0, false, true);
  const int chord[] = {67, 71, 74, 79};
  for (int i = 0; i < 4; ++i) Mix(tr, Brass(MidiHz(chord[i]), 0.14, 1.0), 0, 0.2, -0.3 + 0.2 * i);
  Mix(tr, Snare(0, 0, 1), 0, 0.18);
  Mix(tr, WoodKnock(900, 0.1), 0, 0.35);
  Finish(tr, level::kMechanical + 1);
  return {"StSound8.wav", std::move(tr)};
}

SoundFile EventStop() {  // StSoundSp: a gong with a rising shimmer
  Track tr = MakeTrack(0, false, true);
  Wave gong = Struck(
      92, 1.1,
      {{1.0, 0.6, 0.6}, {1.52, 0.45, 0.5}, {2.26, 0.35, 0.4}, {2.73, 0.3, 0.35}, {3.6, 0.2, 0.25}, {4.35, 0.12, 0.2}});
  Mix(tr, gong, 0, 0.7);
  Wave shimmer = Noise(0.7, {0.3, 0.2, 0.6, 0.2}, 91);
  SweepLowPass(shimmer, 1500, 9000, 3);
  HighPass(shimmer, 2500);
  Mix(tr, shimmer, 0.05, 0.25, 0.3);
  Mix(tr, Taiko(62, 0, 1), 0, 0.6);
  Reverb(tr, 0.3, 0.7);
  Finish(tr, level::kChime);
  return {"StSoundSp.wav", std::move(tr)};
}

}  // namespace

std::vector<SoundMaker> LeverAndStopSounds() {
  std::vector<SoundMaker> out;
  out.push_back([] { return Mono("LeverOn0.wav", LeverClack(), level::kMechanical); });
  out.push_back(Lever1);
  out.push_back(Lever2);
  out.push_back(Lever3);
  out.push_back(Lever4);
  out.push_back([] { return Mono("StSound1.wav", WoodKnock(700), level::kMechanical); });
  out.push_back([] { return Mono("StSound2.wav", WoodKnock(1020), level::kMechanical); });
  out.push_back([] { return Mono("StSound3.wav", WoodKnock(500, 0.18), level::kMechanical); });
  out.push_back(HeavyStop);
  out.push_back(BrightStop);
  out.push_back(RevealChord);
  out.push_back(RevealCascade);
  out.push_back(RevealZap);
  out.push_back(RevealKoto);
  out.push_back(RevealSiren);
  out.push_back(StreakStop);
  out.push_back(EventStop);
  return out;
}
