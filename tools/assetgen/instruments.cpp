#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A decaying envelope e^(-t / tau) with a 1 ms rise.
void Decay(Wave& w, double tau) {
  const double fall = std::exp(-1.0 / (tau * kRate));
  double level = 1;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate;
    w[i] = float(w[i] * level * std::min(1.0, t / 0.001));
    level *= fall;
  }
}

std::uint32_t SeedOf(double f, double gate) {
  return std::uint32_t(f * 131.0 + gate * 7919.0) | 1u;
}

// The chord's tones stacked upwards: index 0.. walks root, third, fifth, (seventh), then the next octave.
int ChordTone(const Chord& c, int index) {
  const int n = int(c.tones.size());
  return c.root + c.tones[size_t(index % n)] + 12 * (index / n);
}

}  // namespace

Wave Lead(double f, double gate, double vel) {
  Wave w = Tone(f, gate, Osc::Pulse, {0.004, 0.18, 0.55, 0.09}, 0.005, 5.8);
  const Wave body = Tone(f, gate, Osc::Triangle, {0.004, 0.2, 0.7, 0.09});
  for (size_t i = 0; i < w.size(); ++i) w[i] = 0.55f * w[i] + 0.6f * body[i];
  LowPass(w, 3000 + 4000 * vel);
  return w;
}

Wave SoftLead(double f, double gate, double vel) {
  Wave w = Tone(f, gate, Osc::Square, {0.01, 0.2, 0.6, 0.12}, 0.004, 5);
  LowPass(w, 1800 + 1500 * vel);
  Scale(w, 0.8);
  return w;
}

Wave Brass(double f, double gate, double vel) {
  const Adsr env{0.035, 0.25, 0.75, 0.12};
  Wave w(size_t((gate + env.r) * kRate));
  double pc = 0, pm = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate, e = EnvAt(env, t, gate);
    const double vib = 1 + 0.004 * SinCycles(5.2 * t) * std::min(1.0, t / 0.3);
    const double index = (1.2 + 2.2 * vel) * e;  // brighter as it swells, like a real brass attack
    w[i] = float(e * SinCycles(pc + index / kTwoPi * SinCycles(pm)));
    pc += f * vib / kRate;
    if (pc >= 1) pc -= 1;
    pm = pc;
  }
  Wave saw = Tone(f * 1.003, gate, Osc::Saw, env);
  LowPass(saw, 2200);
  for (size_t i = 0; i < w.size() && i < saw.size(); ++i) w[i] = 0.75f * w[i] + 0.35f * saw[i];
  return w;
}

Wave Bell(double f, double gate, double vel) {
  Wave w = Fm(f, 0.01, 3.5, 2.5 * vel + 0.8, 0.5, {0.002, 0.01, 1.0, 1.6});
  Decay(w, 0.55);
  const Wave body = Fm(f, 0.01, 1.0, 0.6, 0.3, {0.002, 0.01, 1.0, 1.6});
  Wave ring = body;
  Decay(ring, 0.9);
  for (size_t i = 0; i < w.size() && i < ring.size(); ++i) w[i] = 0.6f * w[i] + 0.5f * ring[i];
  return w;
}

Wave Glock(double f, double gate, double vel) {
  return Struck(f, 0.6, {{1, 0.8, 0.35}, {2.76, 0.35 * vel, 0.12}, {5.4, 0.18 * vel, 0.05}, {8.9, 0.08, 0.025}});
}

Wave Koto(double f, double gate, double vel) {
  Wave w = Pluck(f, std::max(0.4, gate + 0.5), 0.994 + 0.004 * vel, SeedOf(f, gate));
  HighPass(w, 120);
  return w;
}

Wave Bass(double f, double gate, double vel) {
  Wave w = Tone(f, gate, Osc::Saw, {0.003, 0.15, 0.55, 0.05});
  LowPass(w, 500 + 700 * vel, 1.1);
  const Wave sub = Tone(f, gate, Osc::Sine, {0.003, 0.2, 0.8, 0.05});
  for (size_t i = 0; i < w.size(); ++i) w[i] = 0.7f * w[i] + 0.55f * sub[i];
  return w;
}

Wave Strings(double f, double gate, double vel) {
  const Adsr env{0.22, 0.3, 0.85, 0.35};
  Wave w = Tone(f, gate, Osc::Saw, env, 0.003, 5.1);
  const Wave up = Tone(f * 1.0045, gate, Osc::Saw, env, 0.003, 4.7);
  const Wave down = Tone(f * 0.9955, gate, Osc::Saw, env, 0.003, 5.5);
  for (size_t i = 0; i < w.size(); ++i) w[i] = 0.4f * (w[i] + up[i] + down[i]);
  LowPass(w, 1600 + 1200 * vel);
  return w;
}

Wave Stab(double f, double gate, double vel) {
  const Adsr env{0.002, 0.1, 0.25, 0.06};
  Wave w = Tone(f, gate, Osc::Saw, env);
  const Wave sq = Tone(f * 1.006, gate, Osc::Square, env);
  for (size_t i = 0; i < w.size(); ++i) w[i] = 0.5f * w[i] + 0.35f * sq[i];
  LowPass(w, 2500 + 2000 * vel);
  return w;
}

Wave Blip(double f, double gate, double vel) {
  // FM rather than a square: bright like a chip beep, but without harmonics folding back from above 22 kHz
  return Fm(f, std::min(gate, 0.05), 1.0, 1.3 + 0.5 * vel, 0.08, {0.001, 0.03, 0.4, 0.02});
}

Wave Kick(double, double, double vel) {
  Wave w = Glide(160, 42, 0.11, Osc::Sine, {0.001, 0.05, 1.0, 0.22});
  Decay(w, 0.18);
  const Wave click = Noise(0.004, {0.0005, 0.003, 0.2, 0.002}, 17);
  for (size_t i = 0; i < click.size() && i < w.size(); ++i) w[i] += 0.4f * click[i];
  Scale(w, 1.1);
  return w;
}

Wave Snare(double, double, double vel) {
  Wave noise = Noise(0.01, {0.001, 0.005, 1.0, 0.16}, 29);
  BandPass(noise, 2600, 0.6);
  Decay(noise, 0.07);
  Wave tone = Glide(240, 180, 0.05, Osc::Triangle, {0.001, 0.04, 0.5, 0.06});
  Decay(tone, 0.05);
  Append(noise, tone, 0);
  Scale(noise, 1.9);
  return noise;
}

Wave HiHat(double, double, double vel) {
  Wave w = Noise(0.005, {0.0005, 0.004, 1.0, 0.04}, 41);
  HighPass(w, 7500);
  Decay(w, 0.018);
  Scale(w, 1.2);
  return w;
}

Wave OpenHat(double, double, double vel) {
  Wave w = Noise(0.01, {0.001, 0.01, 1.0, 0.3}, 43);
  HighPass(w, 6500);
  Decay(w, 0.12);
  return w;
}

Wave Crash(double, double, double vel) {
  // a cymbal sits behind the band: bright, but rolled off at the top and kept below the brass
  Wave w = Noise(0.02, {0.001, 0.02, 1.0, 1.6}, 53);
  HighPass(w, 3500);
  LowPass(w, 9000);
  Decay(w, 0.5);
  Scale(w, 0.55);
  const Wave ring = Struck(523, 1.6, {{1.0, 0.04, 0.5}, {1.47, 0.04, 0.45}, {2.09, 0.03, 0.4}, {2.56, 0.025, 0.35}});
  Append(w, ring, 0);
  return w;
}

Wave Clap(double, double, double vel) {
  Wave w = Silence(0.2);
  for (int k = 0; k < 3; ++k) {
    Wave burst = Noise(0.004, {0.0005, 0.003, 0.6, 0.006}, 60 + k);
    Append(w, burst, 0.009 * k);
  }
  Wave tail = Noise(0.01, {0.001, 0.01, 1.0, 0.12}, 67);
  Decay(tail, 0.05);
  Append(w, tail, 0.027);
  BandPass(w, 1400, 0.8);
  Scale(w, 2.4);
  return w;
}

Wave Tom(double f, double, double vel) {
  Wave w = Glide(f * 1.5, f, 0.08, Osc::Sine, {0.001, 0.1, 0.8, 0.25});
  Decay(w, 0.16);
  return w;
}

Wave Taiko(double f, double, double vel) {
  Wave w = Glide(f * 1.7, f, 0.06, Osc::Sine, {0.001, 0.2, 0.8, 0.5});
  Decay(w, 0.3);
  Wave skin = Noise(0.01, {0.001, 0.02, 0.6, 0.06}, 71);
  LowPass(skin, 700);
  Append(w, skin, 0);
  Scale(w, 1.2);
  return w;
}

std::vector<Note> Arpeggio(const std::vector<Chord>& chords, std::string_view shape, double stepLen) {
  std::vector<Note> notes;
  std::string pattern;
  for (char c : shape)
    if (c != ' ' && c != '|') pattern += c;
  for (size_t bar = 0; bar < chords.size(); ++bar)
    for (int s = 0; s < 16; ++s) {
      const char c = pattern[size_t(s) % pattern.size()];
      if (c < '0' || c > '9') continue;
      notes.push_back({double(bar * 16 + s), stepLen, ChordTone(chords[bar], c - '0'), s % 4 == 0 ? 0.85 : 0.65});
    }
  return notes;
}

std::vector<Note> OffbeatStabs(const std::vector<Chord>& chords, std::string_view grid) {
  std::vector<Note> notes;
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    int s = 0;
    for (char c : grid) {
      if (c == ' ' || c == '|') continue;
      if (c == 'x' || c == 'X')
        for (int k = 1; k <= 3; ++k)
          notes.push_back({double(bar * 16 + s), 1.5, ChordTone(chords[bar], k) + 12, c == 'X' ? 0.9 : 0.7});
      if (++s == 16) break;
    }
  }
  return notes;
}

std::vector<Note> Pads(const std::vector<Chord>& chords) {
  std::vector<Note> notes;
  for (size_t bar = 0; bar < chords.size(); ++bar)
    for (size_t k = 0; k < chords[bar].tones.size() && k < 4; ++k)
      notes.push_back({double(bar * 16), 16, ChordTone(chords[bar], int(k)) + 12, 0.6});
  return notes;
}

std::vector<Note> OctaveBass(const std::vector<Chord>& chords, std::string_view grid) {
  std::vector<Note> notes;
  std::string g;
  for (char c : grid)
    if (c != ' ' && c != '|') g += c;
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    const Chord& c = chords[bar];
    for (int s = 0; s < 16; ++s) {
      const char k = g[size_t(s) % g.size()];
      int midi;
      if (k == 'r')
        midi = c.root;
      else if (k == 'o')
        midi = c.root + 12;
      else if (k == 'f')
        midi = c.root + 7;
      else if (k == 't')
        midi = c.root + c.tones[1];
      else
        continue;
      int len = 1;
      while (len < 4 && g[size_t(s + len) % g.size()] == '-') ++len;  // '-' holds the note on
      notes.push_back({double(bar * 16 + s), double(len), midi, s % 4 == 0 ? 0.9 : 0.75});
    }
  }
  return notes;
}

}  // namespace synth
