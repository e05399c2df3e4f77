// A small step sequencer for the jingles and the bonus music.
// Notes are written as text, one token per note, lengths in sixteenth notes:
//   "C5:4 E5:2 G5:2 r:8 C4+E4+G4:16"   (pitch[+pitch...]:length, "r" a rest, '#' and 'b' for accidentals)
// Drum parts are grids of sixteenths: 'x' a hit, 'X' an accented hit, '.' nothing, '|' ignored (bar lines).
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "synth.h"

namespace synth {

struct Note {
  double step;  // start, in sixteenths
  double len;   // length, in sixteenths
  int midi;
  double vel;  // 0..1
};

// Parses a note line starting at the given step; accented notes may be marked with a trailing '!' on the length.
std::vector<Note> ParseNotes(std::string_view text, double startStep = 0);
// Parses a drum grid into notes of the given pitch (the pitch is passed to the drum voice, usually unused).
std::vector<Note> ParseGrid(std::string_view grid, int midi = 60, double startStep = 0);

// The text repeated, separated by spaces: a bar written once and played several times.
std::string Repeat(std::string_view bar, int times);

// A voice renders one note: frequency in Hz, held length in seconds, velocity.
using Voice = std::function<Wave(double freq, double gate, double vel)>;

struct Tempo {
  double bpm;
  double StepSeconds() const { return 60.0 / bpm / 4; }
};

// Renders the notes with the voice into the track: gain, pan, transposition in semitones, and a length factor that
// shortens (staccato) or stretches the held part of each note.
void Play(Track& tr, const std::vector<Note>& notes, Tempo tempo, const Voice& voice, double gain, double pan = 0,
          int transpose = 0, double legato = 0.9);

// Chord helpers for generated accompaniment: a chord is a root (midi) and its tones as semitone offsets.
struct Chord {
  int root;
  std::vector<int> tones;
};
// Parses "C", "Am", "G7", "Fmaj7", "Em7", "Dm", "Bb", "E7", "Csus4", "Gm", "Bdim", optionally "/" bass ignored.
Chord ParseChord(std::string_view name, int octave);
// One chord per bar (16 steps) from a space separated list.
std::vector<Chord> ParseChords(std::string_view names, int octave);

}  // namespace synth
