// The bonus: fanfares, the four MC music loops, the count-down loop of the last seven games, the count-up tones, the
// bell, the jackpot jingle and the end buzzer. Loops are rendered on wrapping tracks, so their joins are seamless.
#include <cmath>
#include <string>

#include "instruments.h"
#include "sound_set.h"

using namespace synth;

namespace {

Track LoopTrack(Tempo tempo, int bars) {
  return MakeTrack(bars * 16 * tempo.StepSeconds(), true, true);
}

// The common dance kit: four-on-the-floor kick, clap on two and four, off-beat and sixteenth hats, a fill in the
// last bar and a crash on the first beat.
void DanceDrums(Track& tr, Tempo t, int bars, double gain) {
  Play(tr, ParseGrid(Repeat("X...x...X...x...", bars)), t, Kick, 0.55 * gain);
  Play(tr, ParseGrid(Repeat("....x.......x...", bars - 1) + "....x.......xxXX"), t, Snare, 0.3 * gain, 0.1);
  Play(tr, ParseGrid(Repeat("....x.......x...", bars)), t, Clap, 0.22 * gain, -0.1);
  Play(tr, ParseGrid(Repeat("x.X.x.X.x.X.x.X.", bars)), t, HiHat, 0.16 * gain, 0.35);
  Play(tr, ParseGrid(Repeat("......x.......x.", bars)), t, OpenHat, 0.08 * gain, -0.35);
  Play(tr, ParseGrid("X"), t, Crash, 0.22 * gain, 0.2);
}

// Plain MC: the "royal road" progression, a cheerful pulse lead over octave bass and off-beat stabs.
SoundFile Mc1() {
  const Tempo t{150};
  const auto chords = ParseChords("Fmaj7 G Em7 Am Fmaj7 G C C", 3);
  Track tr = LoopTrack(t, 8);
  const auto melody = ParseNotes(
      "A5:2 C6:2 A5:2 G5:2 F5:4 A5:4 | G5:2 B5:2 D6:4 B5:2 A5:2 G5:4 | E5:2 G5:2 B5:2 E6:6 D6:4 | C6:4 B5:2 A5:2 E5:8 |"
      "F5:2 A5:2 C6:2 F6:6 E6:2 D6:2 | D6:2 C6:2 B5:2 G5:2 B5:4 D6:4 | E6:6 D6:2 C6:4 G5:4 | C6:8 r:4 E5:2 G5:2");
  Play(tr, melody, t, Lead, 0.42, 0, -12);
  Play(tr, melody, t, Bell, 0.09, 0.3);
  Play(tr, Arpeggio(chords, "0124 2124 0124 2124"), t, Koto, 0.16, -0.45, 12);
  Play(tr, OffbeatStabs(chords, "..x...x...x...x."), t, Stab, 0.09, 0.45, 0, 0.6);
  Play(tr, OctaveBass(chords, "r-o-r-o-r-o-f-o-"), t, Bass, 0.42, 0, -12);
  DanceDrums(tr, t, 8, 1.0);
  Echo(tr, t.StepSeconds() * 3, 0.3, 0.18);
  Reverb(tr, 0.25, 0.5);
  Finish(tr, level::kMusic);
  return {"mc1.wav", std::move(tr)};
}

// MC of a fanfare streak: minor, faster, brass lead and sixteenth bass.
SoundFile Mc2() {
  const Tempo t{164};
  const auto chords = ParseChords("Am F G C Am F G E7", 3);
  Track tr = LoopTrack(t, 8);
  const auto melody = ParseNotes(
      "E5:2 A5:2 C6:2 E6:4 D6:2 C6:2 B5:2 | C6:4 A5:4 F5:2 A5:2 C6:4 | B5:2 D6:2 G6:4 F6:2 E6:2 D6:4 | E6:6 C6:2 G5:8 |"
      "A5:2 C6:2 E6:2 A6:6 G6:2 E6:2 | F6:4 E6:2 C6:2 A5:4 C6:4 | D6:2 E6:2 F6:2 G6:6 F6:2 D6:2 | E6:4 G#6:4 B6:4 "
      "G#6:2 E6:2");
  Play(tr, melody, t, Brass, 0.34, -0.1, -12);
  Play(tr, melody, t, Lead, 0.16, 0.2, -12);
  Play(tr, Arpeggio(chords, "0123 4321 0123 4321"), t, Blip, 0.07, 0.5, 24, 0.5);
  Play(tr, Arpeggio(chords, "0..2..1.0..2..1."), t, Koto, 0.13, -0.5, 12);
  Play(tr, OctaveBass(chords, "rorrorrorrorfrof"), t, Bass, 0.4, 0, -12);
  DanceDrums(tr, t, 8, 1.1);
  Play(tr, ParseGrid("X" + std::string(63, '.') + "X"), t, Crash, 0.2, -0.3);
  Echo(tr, t.StepSeconds() * 3, 0.25, 0.15);
  Reverb(tr, 0.25, 0.5);
  Finish(tr, level::kMusic);
  return {"mc2.wav", std::move(tr)};
}

// Premium MC: a majestic march on a descending bass, brass and strings, timpani on the downbeats.
SoundFile Pmc1() {
  const Tempo t{132};
  const auto chords = ParseChords("C G/B Am Em/G F C/E Dm G", 3);
  Track tr = LoopTrack(t, 8);
  const auto melody = ParseNotes(
      "E5:6 G5:2 C6:8 | B5:4 D6:4 G5:8 | A5:4 C6:4 E6:6 D6:2 | B5:12 G5:4 |"
      "A5:4 C6:4 F6:6 E6:2 | E6:4 D6:2 C6:2 G5:8 | F5:4 A5:4 D6:4 F6:4 | G6:8 F6:2 E6:2 D6:2 B5:2");
  const int key = 2;  // in D major
  Play(tr, melody, t, Brass, 0.34, -0.15, key - 12);
  Play(tr, melody, t, Brass, 0.16, 0.25, key - 24);
  Play(tr, melody, t, Glock, 0.07, 0.4, key);
  // the descending bass line of the march
  Play(tr,
       ParseNotes("C3:8 C3:8 | B2:8 B2:8 | A2:8 A2:8 | G2:8 G2:8 | F2:8 F2:8 | E2:8 E2:8 | D2:8 D2:8 | G2:8 G2:4 G2:4"),
       t, Bass, 0.45, 0, key);
  Play(tr, Pads(chords), t, Strings, 0.1, 0, key - 12, 1.0);
  Play(tr, Arpeggio(chords, "0.1.2.4.2.1.0.1."), t, Bell, 0.07, -0.4, key + 12);
  const auto timpani = ParseNotes(Repeat("C3:8 G2:8", 8));
  Play(tr, timpani, t, Tom, 0.5, 0, key);
  Play(tr, ParseGrid(Repeat("X.......x.......", 8)), t, Kick, 0.45);
  Play(tr, ParseGrid(Repeat("....x.......x.xx", 7) + "....x...xxxxXXXX"), t, Snare, 0.26, 0.1);
  Play(tr, ParseGrid(Repeat("x.x.x.x.x.x.x.x.", 8)), t, HiHat, 0.11, 0.35);
  Play(tr, ParseGrid("X" + std::string(63, '.') + "X"), t, Crash, 0.2, -0.2);
  Reverb(tr, 0.4, 0.8);
  Finish(tr, level::kMusic);
  return {"pmc1.wav", std::move(tr)};
}

// Premium MC of a fanfare streak: the grandest, in D minor, with taiko, brass, strings and a driving beat.
SoundFile Pmc2() {
  const Tempo t{150};
  const auto chords = ParseChords("Dm Bb C F Dm Bb C A7", 3);
  Track tr = LoopTrack(t, 8);
  const auto melody = ParseNotes(
      "D5:4 F5:2 A5:2 D6:6 C6:2 | Bb5:4 A5:2 F5:2 D5:8 | E5:2 G5:2 C6:4 Bb5:2 A5:2 G5:4 | A5:6 F5:2 C5:8 |"
      "F5:2 A5:2 D6:4 E6:2 F6:2 E6:4 | D6:4 C6:2 Bb5:2 F5:8 | G5:2 A5:2 Bb5:2 C6:6 D6:2 E6:2 | C#6:8 E6:4 A5:4");
  Play(tr, melody, t, Brass, 0.32, -0.1);
  Play(tr, melody, t, Lead, 0.12, 0.25);
  Play(tr, Pads(chords), t, Strings, 0.11, 0, -12, 1.0);
  Play(tr, Arpeggio(chords, "0124 2124 0124 2421"), t, Koto, 0.13, -0.5, 12);
  Play(tr, Arpeggio(chords, "..4...4...4...4."), t, Glock, 0.05, 0.5, 12);
  Play(tr, OctaveBass(chords, "r-orr-orr-orf-o-"), t, Bass, 0.42, 0, -12);
  Play(tr, ParseNotes(Repeat("D2:4 r:4 D2:2 D2:2 r:4", 7) + "D2:2 D2:2 D2:2 D2:2 A1:4 A1:4"), t, Taiko, 0.5, 0);
  DanceDrums(tr, t, 8, 0.9);
  Reverb(tr, 0.35, 0.7);
  Finish(tr, level::kMusic);
  return {"pmc2.wav", std::move(tr)};
}

// The last seven games: a ticking clock over a heartbeat and a restless minor ostinato.
SoundFile CountDown() {
  const Tempo t{140};
  Track tr = LoopTrack(t, 4);
  Play(tr,
       ParseNotes(Repeat("A5:1 E5:1 C6:1 E5:1", 8) + Repeat("A5:1 F5:1 C6:1 F5:1", 4) +
                  Repeat("G#5:1 E5:1 B5:1 E5:1", 4)),
       t, SoftLead, 0.2, 0.2, -12);
  Play(tr, ParseNotes("A4:16 | A4:8 C5:8 | C5:16 | B4:8 G#4:8"), t, Strings, 0.14, -0.3, 0, 1.0);
  Play(tr, ParseNotes(Repeat("A1:2 A2:2", 16) + Repeat("F1:2 F2:2", 4) + Repeat("E1:2 E2:2", 4)), t, Bass, 0.4);
  Play(tr, ParseGrid(Repeat("X..x............", 4)), t, Kick, 0.6);
  Play(tr, ParseNotes(Repeat("C7:1 r:3 G6:1 r:3 ", 8)), t, Blip, 0.1, 0.5);
  Play(tr, ParseGrid(Repeat("........x.......", 3) + "........x...xxxx"), t, Snare, 0.2);
  Echo(tr, t.StepSeconds() * 2, 0.25, 0.12);
  Finish(tr, level::kMusic - 1);
  return {"CD7Sound.wav", std::move(tr)};
}

// A fanfare: brass melody with harmony a sixth below, a snare roll into it, a held chord with crash and timpani.
struct FanfarePlan {
  const char* name;
  double bpm;
  const char* melody;  // brass lead
  const char* harmony;
  const char* chord;  // the final held chord (notes joined with '+'), sounding from rollSteps + chordAt
  double chordAt;     // in steps after the roll
  int rollSteps;      // snare roll before the melody
  int transpose;
};

SoundFile Fanfare(const FanfarePlan& p) {
  const Tempo t{p.bpm};
  Track tr = MakeTrack(0, false, true);
  const double start = p.rollSteps;
  if (p.rollSteps > 0) {
    std::vector<Note> roll;
    for (int s = 0; s < p.rollSteps * 2; ++s) roll.push_back({s * 0.5, 0.5, 60, 0.35 + 0.5 * s / (p.rollSteps * 2.0)});
    Play(tr, roll, t, Snare, 0.35, 0.1);
  }
  Play(tr, ParseNotes(p.melody, start), t, Brass, 0.42, -0.1, p.transpose);
  Play(tr, ParseNotes(p.melody, start), t, Lead, 0.12, 0.3, p.transpose);
  Play(tr, ParseNotes(p.harmony, start), t, Brass, 0.26, 0.2, p.transpose);
  const double at = start + p.chordAt;
  const auto chord = ParseNotes(std::string(p.chord) + ":14", at);
  Play(tr, chord, t, Strings, 0.22, 0, p.transpose, 1.0);
  Play(tr, chord, t, Bell, 0.12, 0.3, p.transpose + 12);
  std::vector<Note> hits{{start, 1, 43, 1.0}, {at, 1, 43, 1.0}};
  Play(tr, hits, t, Kick, 0.6);
  Play(tr, hits, t, Crash, 0.3, 0.2);
  Play(tr, {{at, 1, 36 + p.transpose, 1.0}}, t, Taiko, 0.6);
  Reverb(tr, 0.35, 0.75);
  Finish(tr, level::kJingle, 5.8);
  return {p.name, std::move(tr)};
}

// The count-up: a soft rising "fuwa" swell, each a step higher on the major scale.
SoundFile CountUpTone(int step) {
  const int scale[] = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16};
  const double f = MidiHz(72 + scale[step]);
  Track tr = MakeTrack(0, false, true);
  // the body: a sine that swoops up into the note and swells, with strings a fifth apart
  Wave body = Glide(f * 0.75, f, 0.18, Osc::Sine, {0.12, 0.3, 0.75, 0.6});
  Wave tail = Tone(f, 0.9, Osc::Sine, {0.001, 0.3, 0.8, 0.6}, 0.006, 5.5);
  Wave swell(body.size() + tail.size(), 0.f);
  for (size_t i = 0; i < body.size(); ++i) swell[i] = body[i];
  Append(swell, tail, 0.17);
  Mix(tr, swell, 0, 0.5);
  Mix(tr, Strings(f, 0.9, 0.6), 0, 0.22, -0.3);
  Mix(tr, Strings(f * 1.5, 0.9, 0.6), 0.03, 0.12, 0.3);
  // an airy "fuwa" rising through a sweeping filter, and a sparkle of the chord on top
  Wave air = Glide(f * 0.5, f * 2, 0.5, Osc::Saw, {0.2, 0.3, 0.5, 0.3});
  SweepLowPass(air, 400, 6000, 2.0);
  Mix(tr, air, 0, 0.08, 0.2);
  const int chord[] = {0, 4, 7, 12};
  for (int k = 0; k < 4; ++k)
    Mix(tr, Glock(f * 2 * std::pow(2.0, chord[k] / 12.0), 0.1, 0.7), 0.16 + 0.05 * k, 0.09, -0.4 + 0.25 * k);
  Reverb(tr, 0.3, 0.6);
  Finish(tr, level::kChime);
  return {"fua" + std::to_string(step) + ".wav", std::move(tr)};
}

SoundFile BellSound() {  // "chiin": two strikes of a bright bell with a glittering overtone
  Track tr = MakeTrack(0, false, true);
  for (int k = 0; k < 2; ++k) {
    Mix(tr, Bell(MidiHz(88), 0.1, 1.0), 0.16 * k, 0.5, -0.2);
    Mix(tr, Bell(MidiHz(95), 0.1, 0.8), 0.16 * k + 0.01, 0.3, 0.2);
    Mix(tr, Glock(MidiHz(100), 0.1, 0.8), 0.16 * k, 0.15, 0.4);
  }
  Reverb(tr, 0.25, 0.6);
  Finish(tr, level::kChime);
  return {"Bell.wav", std::move(tr)};
}

SoundFile Jackpot() {  // 1Gren: a glissando up two octaves into a huge chord ringing with bells
  const Tempo t{150};
  Track tr = MakeTrack(0, false, true);
  const int scale[] = {0, 2, 4, 5, 7, 9, 11};
  for (int i = 0; i < 15; ++i) {
    const int midi = 72 + scale[i % 7] + 12 * (i / 7);
    Mix(tr, Glock(MidiHz(midi), 0.1, 0.9), 0.035 * i, 0.24, -0.7 + 0.1 * i);
  }
  const double hit = 0.55;
  const int chord[] = {48, 60, 64, 67, 72, 76, 79};
  for (int i = 0; i < 7; ++i) Mix(tr, Brass(MidiHz(chord[i]), 1.6, 1.0), hit, 0.15, -0.6 + 0.2 * i);
  Mix(tr, Strings(MidiHz(60), 1.8, 1.0), hit, 0.15);
  for (int k = 0; k < 6; ++k) {  // the bells peal on
    Mix(tr, Bell(MidiHz(84 + (k % 3) * 4), 0.1, 0.9), hit + 0.2 * k, 0.2, k % 2 ? 0.5 : -0.5);
  }
  Mix(tr, Crash(0, 0, 1), hit, 0.35);
  Mix(tr, Kick(0, 0, 1), hit, 0.6);
  Mix(tr, Taiko(48, 0, 1), hit, 0.5);
  Play(tr, ParseGrid("x.x.xxxX"), t, Snare, 0.25);
  Reverb(tr, 0.35, 0.8);
  Finish(tr, level::kJingle);
  return {"1Gren.wav", std::move(tr)};
}

SoundFile EndBuzzer() {  // "bu-buu": two low buzzes, the second longer and sagging
  Track tr = MakeTrack(0);
  for (int k = 0; k < 2; ++k) {
    const double len = k ? 0.5 : 0.16, at = k ? 0.24 : 0;
    Wave a = Glide(131, k ? 116 : 131, len, Osc::Saw, {0.01, 0.1, 0.8, 0.08});
    Wave b = Glide(139, k ? 123 : 139, len, Osc::Square, {0.01, 0.1, 0.8, 0.08});
    LowPass(a, 1400);
    LowPass(b, 1100);
    Mix(tr, a, at, 0.35);
    Mix(tr, b, at, 0.25);
  }
  Finish(tr, level::kChime);
  return {"bubuu.wav", std::move(tr)};
}

}  // namespace

std::vector<SoundMaker> BonusSounds() {
  std::vector<SoundMaker> out;
  out.push_back([] {
    return Fanfare({"Fanfare1.wav", 156, "C6:1 D6:1 E6:1 G6:1 C7:4 r:2 G6:1 C7:1 E7:4 D7:2 E7:10",
                    "G5:1 B5:1 C6:1 E6:1 G6:4 r:2 E6:1 G6:1 C7:4 B6:2 C7:10", "C5+E5+G5+C6", 14, 8, -9});
  });
  out.push_back([] {
    return Fanfare({"Fanfare2.wav", 150, "G5:2 A5:2 B5:2 D6:2 G6:4 D6:2 G6:2 B6:10",
                    "D5:2 F#5:2 G5:2 B5:2 D6:4 B5:2 D6:2 G6:10", "G4+B4+D5+G5", 16, 0, -12});
  });
  out.push_back([] {
    return Fanfare({"Fanfare3.wav", 120, "C5:2 C5:1 C5:1 C5:2 E5:2 G5:4 E5:2 G5:2 C6:12",
                    "G4:2 G4:1 G4:1 G4:2 C5:2 E5:4 C5:2 E5:2 G5:12", "C4+E4+G4+C5", 16, 4, 0});
  });
  out.push_back([] {
    return Fanfare({"Fanfare4.wav", 132, "D5:3 D5:1 D5:2 A5:2 F#5:4 D5:4 G5:3 G5:1 G5:2 B5:2 A5:6 A5:1 B5:1 D6:14",
                    "A4:3 A4:1 A4:2 F#5:2 D5:4 A4:4 D5:3 D5:1 D5:2 G5:2 E5:6 E5:1 G5:1 A5:14", "D4+F#4+A4+D5", 32, 8,
                    0});
  });
  out.push_back([] {
    return Fanfare({"Fanfare5.wav", 138, "B4:2 E5:2 G#5:2 B5:6 A5:2 G#5:2 F#5:2 E5:2 C#6:4 B5:4 E6:14",
                    "G#4:2 B4:2 E5:2 G#5:6 F#5:2 E5:2 D#5:2 B4:2 A5:4 G#5:4 B5:14", "E4+G#4+B4+E5", 30, 6, 0});
  });
  out.push_back(Mc1);
  out.push_back(Mc2);
  out.push_back(Pmc1);
  out.push_back(Pmc2);
  out.push_back(CountDown);
  for (int i = 0; i < 10; ++i) out.push_back([=] { return CountUpTone(i); });
  out.push_back(BellSound);
  out.push_back(Jackpot);
  out.push_back(EndBuzzer);
  return out;
}
