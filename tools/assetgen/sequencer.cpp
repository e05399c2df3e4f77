#include "sequencer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace synth {
namespace {

int PitchClass(char letter) {
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
  }
  return -1;
}

[[noreturn]] void Fail(std::string_view what, std::string_view token) {
  std::fprintf(stderr, "assetgen: bad %.*s '%.*s'\n", int(what.size()), what.data(), int(token.size()), token.data());
  std::exit(3);
}

// "C#5" -> 73 (C4 = 60).
int ParsePitch(std::string_view p) {
  if (p.empty()) Fail("pitch", p);
  int pc = PitchClass(p[0]);
  if (pc < 0) Fail("pitch", p);
  size_t i = 1;
  while (i < p.size() && (p[i] == '#' || p[i] == 'b')) pc += p[i++] == '#' ? 1 : -1;
  if (i >= p.size()) Fail("pitch", p);
  const int octave = std::atoi(std::string(p.substr(i)).c_str());
  return 12 * (octave + 1) + pc;
}

// Bar lines '|' separate tokens like spaces do.
bool Separator(char c) {
  return c == '|' || std::isspace(static_cast<unsigned char>(c));
}

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && Separator(text[i])) ++i;
    size_t j = i;
    while (j < text.size() && !Separator(text[j])) ++j;
    if (j > i) out.push_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

}  // namespace

std::vector<Note> ParseNotes(std::string_view text, double startStep) {
  std::vector<Note> notes;
  double step = startStep;
  for (std::string_view tok : Tokens(text)) {
    const size_t colon = tok.find(':');
    if (colon == std::string_view::npos) Fail("note", tok);
    std::string_view lenText = tok.substr(colon + 1);
    double vel = 0.8;
    if (!lenText.empty() && lenText.back() == '!') {
      vel = 1.0;
      lenText.remove_suffix(1);
    }
    const double len = std::atof(std::string(lenText).c_str());
    if (len <= 0) Fail("length", tok);
    std::string_view pitches = tok.substr(0, colon);
    if (pitches != "r") {
      size_t s = 0;
      while (s <= pitches.size()) {
        const size_t plus = std::min(pitches.find('+', s), pitches.size());
        notes.push_back({step, len, ParsePitch(pitches.substr(s, plus - s)), vel});
        s = plus + 1;
      }
    }
    step += len;
  }
  return notes;
}

std::vector<Note> ParseGrid(std::string_view grid, int midi, double startStep) {
  std::vector<Note> notes;
  double step = startStep;
  for (char c : grid) {
    if (c == '|' || std::isspace(static_cast<unsigned char>(c))) continue;
    if (c == 'x' || c == 'X') notes.push_back({step, 1, midi, c == 'X' ? 1.0 : 0.7});
    step += 1;
  }
  return notes;
}

std::string Repeat(std::string_view bar, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) (s += bar) += ' ';
  return s;
}

void Play(Track& tr, const std::vector<Note>& notes, Tempo tempo, const Voice& voice, double gain, double pan,
          int transpose, double legato) {
  const double sps = tempo.StepSeconds();
  for (const Note& n : notes) {
    const Wave w = voice(MidiHz(n.midi + transpose), n.len * sps * legato, n.vel);
    Mix(tr, w, n.step * sps, gain * n.vel, pan);
  }
}

Chord ParseChord(std::string_view name, int octave) {
  const size_t slash = name.find('/');
  if (slash != std::string_view::npos) name = name.substr(0, slash);
  if (name.empty()) Fail("chord", name);
  int root = PitchClass(name[0]);
  if (root < 0) Fail("chord", name);
  size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) root += name[i++] == '#' ? 1 : -1;
  const std::string_view q = name.substr(i);
  std::vector<int> tones;
  if (q.empty())
    tones = {0, 4, 7};
  else if (q == "m")
    tones = {0, 3, 7};
  else if (q == "7")
    tones = {0, 4, 7, 10};
  else if (q == "maj7")
    tones = {0, 4, 7, 11};
  else if (q == "m7")
    tones = {0, 3, 7, 10};
  else if (q == "sus4")
    tones = {0, 5, 7};
  else if (q == "dim")
    tones = {0, 3, 6};
  else if (q == "add9")
    tones = {0, 4, 7, 14};
  else
    Fail("chord", name);
  return {12 * (octave + 1) + root, tones};
}

std::vector<Chord> ParseChords(std::string_view names, int octave) {
  std::vector<Chord> out;
  for (std::string_view tok : Tokens(names)) out.push_back(ParseChord(tok, octave));
  return out;
}

}  // namespace synth
