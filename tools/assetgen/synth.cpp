#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Smooths the step of a band-limited saw or square around its jump (polyBLEP).
double Blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

double OscSample(Osc osc, double phase, double dt) {
  switch (osc) {
    case Osc::Sine: return SinCycles(phase);
    case Osc::Triangle: return 4 * std::abs(phase - 0.5) - 1;
    case Osc::Saw: return 2 * phase - 1 - Blep(phase, dt);
    case Osc::Square:
      return (phase < 0.5 ? 1.0 : -1.0) + Blep(phase, dt) - Blep(phase < 0.5 ? phase + 0.5 : phase - 0.5, dt);
    case Osc::Pulse:  // 25 % duty; its mean of -0.5 is taken out
      return (phase < 0.25 ? 1.0 : -1.0) + Blep(phase, dt) - Blep(phase < 0.25 ? phase + 0.75 : phase - 0.25, dt) + 0.5;
  }
  return 0;
}

struct Rng {
  std::uint32_t s;
  explicit Rng(std::uint32_t seed) : s(seed ? seed : 0x9E3779B9u) {}
  double Next() {  // uniform in [-1, 1)
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return double(s) / 2147483648.0 - 1.0;
  }
};

// An RBJ biquad run over the wave.
struct Biquad {
  double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  static Biquad Make(int kind, double f, double q) {  // kind 0 low-pass, 1 high-pass, 2 band-pass
    f = std::clamp(f, 10.0, kRate * 0.45);
    const double w = kTwoPi * f / kRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    double b0, b1, b2;
    if (kind == 0) {
      b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
    } else if (kind == 1) {
      b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
    } else {
      b0 = alpha, b1 = 0, b2 = -alpha;
    }
    const double a0 = 1 + alpha;
    return {b0 / a0, b1 / a0, b2 / a0, -2 * c / a0, (1 - alpha) / a0};
  }
  double Run(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

void RunBiquad(Wave& w, int kind, double f, double q) {
  Biquad bq = Biquad::Make(kind, f, q);
  for (float& s : w) s = float(bq.Run(s));
}

size_t Samples(double seconds) {
  return size_t(std::max(0.0, seconds) * kRate + 0.5);
}

// Runs fn over the track's samples; on a loop the pass goes round twice and keeps the second round, so that effect
// tails started near the end reach into the start (every loop is long enough for them to have died away by then).
template <class Fn>
void RunCircular(Track& tr, Fn&& fn) {
  const size_t n = tr.l.size();
  if (n == 0) return;
  const int rounds = tr.loop ? 2 : 1;
  Wave outL(n), outR(n);
  for (int round = 0; round < rounds; ++round)
    for (size_t i = 0; i < n; ++i) {
      float l = tr.l[i], r = tr.r[i];
      fn(l, r);
      if (round == rounds - 1) outL[i] = l, outR[i] = r;
    }
  tr.l.swap(outL);
  tr.r.swap(outR);
}

void Extend(Track& tr, double seconds) {
  if (tr.loop) return;
  tr.l.resize(tr.l.size() + Samples(seconds), 0.f);
  tr.r.resize(tr.r.size() + Samples(seconds), 0.f);
}

}  // namespace

namespace {
const std::vector<double> g_sinTable = [] {
  std::vector<double> t(4097);
  for (int i = 0; i <= 4096; ++i) t[size_t(i)] = std::sin(kTwoPi * i / 4096);
  return t;
}();
}  // namespace
const double* const kSinTable = g_sinTable.data();

double MidiHz(double midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

double EnvAt(const Adsr& e, double t, double gate) {
  auto held = [&](double u) {
    if (u < e.a) return u / e.a;
    if (u < e.a + e.d) return 1 - (1 - e.s) * (u - e.a) / e.d;
    return e.s;
  };
  if (t < 0) return 0;
  if (t < gate) return held(t);
  const double x = (t - gate) / std::max(e.r, 1e-4);
  return x >= 1 ? 0 : held(gate) * (1 - x) * (1 - x);
}

Wave Tone(double freq, double gate, Osc osc, const Adsr& env, double vibratoDepth, double vibratoRate) {
  Wave w(Samples(gate + env.r));
  double phase = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double vib = vibratoDepth > 0 ? 1 + vibratoDepth * SinCycles(vibratoRate * t) * std::min(1.0, t / 0.25) : 1;
    const double dt = freq * vib / kRate;
    w[i] = float(OscSample(osc, phase, dt) * EnvAt(env, t, gate));
    phase += dt;
    if (phase >= 1) phase -= 1;
  }
  return w;
}

Wave Glide(double f0, double f1, double dur, Osc osc, const Adsr& env) {
  Wave w(Samples(dur + env.r));
  double phase = 0, f = f0;
  const double step = std::pow(f1 / f0, 1.0 / (dur * kRate));  // the exponential glide, one sample at a time
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double dt = f / kRate;
    w[i] = float(OscSample(osc, phase, dt) * EnvAt(env, t, dur));
    phase += dt;
    if (phase >= 1) phase -= 1;
    if (t < dur) f *= step;
  }
  return w;
}

Wave Fm(double freq, double gate, double ratio, double index, double indexDecay, const Adsr& env) {
  Wave w(Samples(gate + env.r));
  double pc = 0, pm = 0, idx = index / kTwoPi;
  const double fall = indexDecay > 0 ? std::exp(-1.0 / (indexDecay * kRate)) : 1.0;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate;
    w[i] = float(SinCycles(pc + idx * SinCycles(pm)) * EnvAt(env, t, gate));
    idx *= fall;
    pc += freq / kRate;
    pm += freq * ratio / kRate;
    if (pc >= 1) pc -= 1;
    if (pm >= 1) pm -= 1;
  }
  return w;
}

Wave Pluck(double freq, double dur, double damping, std::uint32_t seed) {
  Rng rng(seed);
  const size_t period = std::max<size_t>(2, size_t(kRate / freq + 0.5));
  std::vector<double> line(period);
  double prev = 0;
  for (double& v : line) {  // a slightly smoothed burst gives a rounder pick
    prev = 0.6 * rng.Next() + 0.4 * prev;
    v = prev;
  }
  double mean = 0;
  for (double v : line) mean += v / double(period);
  for (double& v : line) v -= mean;
  Wave w(Samples(dur));
  size_t k = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    const size_t next = (k + 1) % period;
    const double out = line[k];
    line[k] = damping * 0.5 * (line[k] + line[next]);
    k = next;
    const double t = double(i) / kRate;
    const double fade = t > dur - 0.02 ? std::max(0.0, (dur - t) / 0.02) : 1.0;
    w[i] = float(out * fade * std::min(1.0, t / 0.001));
  }
  return w;
}

Wave Noise(double gate, const Adsr& env, std::uint32_t seed) {
  Rng rng(seed);
  Wave w(Samples(gate + env.r));
  for (size_t i = 0; i < w.size(); ++i) w[i] = float(rng.Next() * EnvAt(env, double(i) / kRate, gate));
  return w;
}

Wave Struck(double freq, double dur, const std::vector<Partial>& partials) {
  Wave w(Samples(dur));
  const size_t rise = Samples(0.0015);
  for (const Partial& p : partials) {
    const double f = freq * p.ratio;
    if (f >= kRate * 0.45) continue;
    // a decaying sine by recursion: y[n] = 2 r cos(w) y[n-1] - r^2 y[n-2], y[0] = 0, y[1] = amp r sin(w)
    const double w0 = kTwoPi * f / kRate, r = std::exp(-1.0 / (p.decay * kRate));
    const double c1 = 2 * r * std::cos(w0), c2 = r * r;
    double y1 = 0, y2 = 0;
    for (size_t i = 0; i < w.size(); ++i) {
      const double y = i == 0 ? 0.0 : i == 1 ? p.amp * r * std::sin(w0) : c1 * y1 - c2 * y2;
      y2 = y1;
      y1 = y;
      w[i] += float(y * (i < rise ? double(i) / double(rise) : 1.0));
    }
  }
  const size_t tail = std::min(w.size(), Samples(0.01));  // a short fade closes the end
  for (size_t i = 0; i < tail; ++i) w[w.size() - 1 - i] *= float(double(i) / double(tail));
  return w;
}

void LowPass(Wave& w, double cutoff, double q) {
  RunBiquad(w, 0, cutoff, q);
}
void HighPass(Wave& w, double cutoff, double q) {
  RunBiquad(w, 1, cutoff, q);
}
void BandPass(Wave& w, double centre, double q) {
  RunBiquad(w, 2, centre, q);
}

void SweepLowPass(Wave& w, double c0, double c1, double q) {
  Biquad bq = Biquad::Make(0, c0, q);
  const size_t block = 64;
  for (size_t i = 0; i < w.size(); i += block) {
    const double x = double(i) / double(std::max<size_t>(1, w.size()));
    const Biquad fresh = Biquad::Make(0, c0 * std::pow(c1 / c0, x), q);
    bq.b0 = fresh.b0, bq.b1 = fresh.b1, bq.b2 = fresh.b2, bq.a1 = fresh.a1, bq.a2 = fresh.a2;
    for (size_t j = i; j < std::min(w.size(), i + block); ++j) w[j] = float(bq.Run(w[j]));
  }
}

void Scale(Wave& w, double gain) {
  for (float& s : w) s = float(s * gain);
}

void Append(Wave& w, const Wave& more, double atSeconds) {
  const size_t at = Samples(atSeconds);
  if (w.size() < at + more.size()) w.resize(at + more.size(), 0.f);
  for (size_t i = 0; i < more.size(); ++i) w[at + i] += more[i];
}

Wave Silence(double seconds) {
  return Wave(Samples(seconds), 0.f);
}

Track MakeTrack(double seconds, bool loop, bool stereo) {
  Track tr;
  tr.l.assign(Samples(seconds), 0.f);
  tr.r.assign(tr.l.size(), 0.f);
  tr.loop = loop;
  tr.stereo = stereo;
  return tr;
}

void Mix(Track& tr, const Wave& w, double t, double gain, double pan) {
  const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * std::numbers::pi / 4;
  const double gl = gain * std::cos(angle) * std::numbers::sqrt2, gr = gain * std::sin(angle) * std::numbers::sqrt2;
  const size_t at = Samples(t);
  if (!tr.loop && tr.l.size() < at + w.size()) {
    tr.l.resize(at + w.size(), 0.f);
    tr.r.resize(at + w.size(), 0.f);
  }
  const size_t n = tr.l.size();
  if (n == 0) return;
  for (size_t i = 0; i < w.size(); ++i) {
    const size_t k = (at + i) % n;
    tr.l[k] += float(w[i] * gl);
    tr.r[k] += float(w[i] * gr);
  }
}

void Echo(Track& tr, double delaySeconds, double feedback, double wet, bool pingPong) {
  Extend(tr, delaySeconds * std::log(0.001) / std::log(std::max(feedback, 0.01)));
  const size_t d = std::max<size_t>(1, Samples(delaySeconds));
  std::vector<float> bl(d, 0.f), br(d, 0.f);
  size_t k = 0;
  RunCircular(tr, [&](float& l, float& r) {
    const float el = bl[k], er = br[k];
    if (pingPong) {  // echoes cross from side to side
      bl[k] = float(0.5 * (l + r) * 0.7 + er * feedback);
      br[k] = float(el * feedback);
    } else {
      bl[k] = float(l + el * feedback);
      br[k] = float(r + er * feedback);
    }
    l += float(el * wet);
    r += float(er * wet);
    k = (k + 1) % d;
  });
}

void Reverb(Track& tr, double wet, double size) {
  Extend(tr, 1.6 * size);
  // Four damped combs and two all-passes per side, tuned a little apart to widen the room.
  struct Comb {
    std::vector<float> buf;
    size_t k = 0;
    float store = 0;
  };
  struct Side {
    Comb comb[4];
    Comb all[2];
  };
  const int combLen[4] = {1116, 1188, 1277, 1356}, allLen[2] = {556, 441};
  Side sides[2];
  for (int s = 0; s < 2; ++s) {
    for (int c = 0; c < 4; ++c) sides[s].comb[c].buf.assign(size_t(combLen[c] * (1 + 0.02 * s)), 0.f);
    for (int a = 0; a < 2; ++a) sides[s].all[a].buf.assign(size_t(allLen[a] * (1 + 0.03 * s)), 0.f);
  }
  const float fb = float(0.70 + 0.12 * size), damp = 0.3f;
  auto side = [&](Side& sd, float in) {
    float out = 0;
    for (Comb& c : sd.comb) {
      const float y = c.buf[c.k];
      c.store = y * (1 - damp) + c.store * damp;
      c.buf[c.k] = in + c.store * fb;
      c.k = (c.k + 1) % c.buf.size();
      out += y;
    }
    for (Comb& a : sd.all) {
      const float y = a.buf[a.k];
      a.buf[a.k] = out + y * 0.5f;
      a.k = (a.k + 1) % a.buf.size();
      out = y - out;
    }
    return out;
  };
  RunCircular(tr, [&](float& l, float& r) {
    const float in = 0.015f * (l + r);
    const float ol = side(sides[0], in), orr = side(sides[1], in);
    l += float(ol * wet);
    r += float(orr * wet);
  });
}

double LoudnessDb(const Track& tr) {
  const size_t n = tr.l.size();
  if (n == 0) return -200;
  const size_t win = std::min(n, Samples(0.4)), hop = std::max<size_t>(1, Samples(0.05));
  std::vector<double> power(n + 1, 0.0);  // running sum of the mean square of both sides
  for (size_t i = 0; i < n; ++i)
    power[i + 1] = power[i] + 0.5 * (double(tr.l[i]) * tr.l[i] + double(tr.r[i]) * tr.r[i]);
  double best = 0;
  for (size_t s = 0; s + win <= n; s += hop) best = std::max(best, (power[s + win] - power[s]) / double(win));
  best = std::max(best, (power[n] - power[n - win]) / double(win));
  return 10 * std::log10(std::max(best, 1e-20));
}

void Finish(Track& tr, double targetDb, double maxSeconds) {
  double peak = 1e-9;
  for (size_t i = 0; i < tr.l.size(); ++i)
    peak = std::max({peak, double(std::abs(tr.l[i])), double(std::abs(tr.r[i]))});
  double gain = std::pow(10.0, (targetDb - LoudnessDb(tr)) / 20);
  gain = std::min(gain, 1.3 / peak);  // drive the limiter a little at most
  // Above the knee the peaks bend smoothly towards the ceiling, 0.88 (about -1.1 dBFS), never reaching it.
  const double knee = 0.62, ceiling = 0.88, room = ceiling - knee;
  auto shape = [&](float& s) {
    const double x = s * gain, a = std::abs(x);
    s = float(a <= knee ? x : std::copysign(knee + room * std::tanh((a - knee) / room), x));
  };
  for (float& s : tr.l) shape(s);
  for (float& s : tr.r) shape(s);
  if (tr.loop) return;
  size_t end = tr.l.size();
  while (end > 0 && std::abs(tr.l[end - 1]) < 2e-4f && std::abs(tr.r[end - 1]) < 2e-4f) --end;
  end = std::min(tr.l.size(), end + Samples(0.005));
  size_t fade = std::min(end, Samples(0.008));  // the last few milliseconds fade to nothing
  if (maxSeconds > 0 && end > Samples(maxSeconds)) {
    end = Samples(maxSeconds);
    fade = std::min(end, Samples(0.3));
  }
  tr.l.resize(end);
  tr.r.resize(end);
  for (size_t i = 0; i < fade; ++i) {
    const float g = float(double(i) / double(fade)) * float(double(i) / double(fade));
    tr.l[end - 1 - i] *= g;
    tr.r[end - 1 - i] *= g;
  }
}

}  // namespace synth
