#include "machine/random.h"

#include <deque>

#include "platform/convert.h"
#include "platform/events.h"

namespace {

// SplitMix64: a bijective mix of a 64-bit counter, used to spread one seed over the generator's state.
std::uint64_t SplitMix64(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

// xoshiro256**: small, fast to reseed (the game reseeds at every lever-on) and of good statistical quality.
struct Generator {
  std::uint64_t s[4];

  void Seed(std::uint64_t seed) {
    std::uint64_t x = seed;
    for (std::uint64_t& word : s) word = SplitMix64(x);
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotl(s[1] * 5, 7) * 9;
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = Rotl(s[3], 45);
    return result;
  }
};

Generator& TheGenerator() {
  static Generator generator = [] {
    Generator g{};
    g.Seed(0x6d6f6675726e616eull);
    return g;
  }();
  return generator;
}

std::deque<double>& Queued() {
  static std::deque<double> queued;
  return queued;
}

}  // namespace

void Randomize() { RandomizeWith(ClockSeed()); }

void RandomizeWith(std::uint64_t seed) { TheGenerator().Seed(seed); }

double Uniform() {
  if (!Queued().empty()) {
    const double u = Queued().front();
    Queued().pop_front();
    return u;
  }
  return static_cast<double>(TheGenerator().Next() >> 11) * 0x1.0p-53;
}

int RandomInt(double n) { return RandomIntOf(n, Uniform()); }

int RandomIntOf(double n, double u) { return static_cast<int>(RoundEven(n * u)); }

void QueueUniforms(std::initializer_list<double> values) { Queued().insert(Queued().end(), values); }

void ClearQueuedUniforms() { Queued().clear(); }
