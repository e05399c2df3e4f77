// The instruments of the machine's sound: each turns (frequency, held seconds, velocity) into a mono wave.
#pragma once
#include "sequencer.h"

namespace synth {

Wave Lead(double f, double gate, double vel);      // bright pulse lead with a touch of vibrato
Wave SoftLead(double f, double gate, double vel);  // rounder square lead for the count-down
Wave Brass(double f, double gate, double vel);     // FM brass: the index swells with the attack
Wave Bell(double f, double gate, double vel);      // FM bell, long ring
Wave Glock(double f, double gate, double vel);     // short bright glockenspiel
Wave Koto(double f, double gate, double vel);      // plucked string
Wave Bass(double f, double gate, double vel);      // filtered saw bass
Wave Strings(double f, double gate, double vel);   // detuned saws, slow attack
Wave Stab(double f, double gate, double vel);      // short chord stab
Wave Blip(double f, double gate, double vel);      // tiny square blip

// Drums; the frequency argument is ignored except where noted.
Wave Kick(double f, double gate, double vel);
Wave Snare(double f, double gate, double vel);
Wave HiHat(double f, double gate, double vel);
Wave OpenHat(double f, double gate, double vel);
Wave Crash(double f, double gate, double vel);
Wave Clap(double f, double gate, double vel);
Wave Tom(double f, double gate, double vel);    // tuned by f
Wave Taiko(double f, double gate, double vel);  // deep drum, tuned by f

// Chord accompaniment: arpeggios, off-beat stabs, held pads, and an octave bass, one chord per bar.
std::vector<Note> Arpeggio(const std::vector<Chord>& chords, std::string_view shape, double stepLen = 1);
std::vector<Note> OffbeatStabs(const std::vector<Chord>& chords, std::string_view grid);
std::vector<Note> Pads(const std::vector<Chord>& chords);
std::vector<Note> OctaveBass(const std::vector<Chord>& chords, std::string_view grid);

}  // namespace synth
