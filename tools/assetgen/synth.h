// The sound toolkit of assetgen: oscillators, envelopes, noise, filters and a stereo mix bus.
// Every voice renders mono samples at 44.1 kHz; a Track gathers voices into a stereo picture. A looping Track wraps
// what is written past its end round to its start, so a loop's last sample leads into its first like any other.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kRate = 44100;
using Wave = std::vector<float>;

// Attack, decay and release in seconds, sustain as a level 0..1.
struct Adsr {
  double a = 0.005, d = 0.1, s = 0.7, r = 0.1;
};
// The envelope level at time t of a note held for gate seconds.
double EnvAt(const Adsr& env, double t, double gate);

enum class Osc { Sine, Triangle, Square, Saw, Pulse };

// A held note: gate seconds plus the release tail. Pulse uses a 25 % duty cycle; square and saw are band-limited.
Wave Tone(double freq, double gate, Osc osc, const Adsr& env, double vibratoDepth = 0, double vibratoRate = 5.5);
// Frequency glides from f0 to f1 over dur seconds (exponentially), shaped by env with gate = dur.
Wave Glide(double f0, double f1, double dur, Osc osc, const Adsr& env);
// Two-operator FM: the modulator runs at ratio x freq; its index falls from index by e^(-t / indexDecay).
Wave Fm(double freq, double gate, double ratio, double index, double indexDecay, const Adsr& env);
// Plucked string (Karplus-Strong): bright when damping is near 1, dull when lower.
Wave Pluck(double freq, double dur, double damping, std::uint32_t seed);
// White noise under env.
Wave Noise(double gate, const Adsr& env, std::uint32_t seed);
// A struck resonator with inharmonic partials (wood, metal, bells): each partial ratio/amplitude/decay time.
struct Partial {
  double ratio, amp, decay;
};
Wave Struck(double freq, double dur, const std::vector<Partial>& partials);

// Filters, in place. Cut-offs in Hz.
void LowPass(Wave& w, double cutoff, double q = 0.707);
void HighPass(Wave& w, double cutoff, double q = 0.707);
void BandPass(Wave& w, double centre, double q);
// A low-pass whose cut-off moves exponentially from c0 to c1 across the wave.
void SweepLowPass(Wave& w, double c0, double c1, double q = 0.9);

void Scale(Wave& w, double gain);
void Append(Wave& w, const Wave& more, double atSeconds);  // sums more into w starting at atSeconds, growing w
Wave Silence(double seconds);
double MidiHz(double midi);
// sin(2 pi x) from a table, accurate to about 1e-6; x in cycles, any value.
extern const double* const kSinTable;  // 4097 entries over one cycle
inline double SinCycles(double x) {
  const double pos = (x - std::floor(x)) * 4096;
  const int i = pos < 4095 ? int(pos) : 4095;
  return kSinTable[i] + (kSinTable[i + 1] - kSinTable[i]) * (pos - i);
}

// A stereo bus. loop = true wraps everything written past the end round to the start.
struct Track {
  Wave l, r;
  bool loop = false;
  bool stereo = false;  // written as a stereo file
  double Seconds() const { return double(l.size()) / kRate; }
};
Track MakeTrack(double seconds, bool loop = false, bool stereo = false);
// Adds w at time t with gain and pan (-1 left .. +1 right). A one-shot track grows to hold it.
void Mix(Track& tr, const Wave& w, double t, double gain, double pan = 0);
// Feedback echo and a small room reverb; on a loop they run round the loop so their tails wrap too.
void Echo(Track& tr, double delaySeconds, double feedback, double wet, bool pingPong = true);
void Reverb(Track& tr, double wet, double size = 0.8);

// Sets the loudness (RMS of the loudest 0.4 s, in dBFS) to targetDb, softly limits the peaks so none exceeds -1 dBFS,
// and trims a one-shot's trailing silence. A one-shot longer than maxSeconds (when given) fades out to end there.
void Finish(Track& tr, double targetDb, double maxSeconds = 0);
double LoudnessDb(const Track& tr);

}  // namespace synth
