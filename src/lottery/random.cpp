#include "lottery/random.h"

#include <random>

#include "platform/convert.h"
#include "platform/events.h"

namespace {
std::mt19937& Generator() {
  static std::mt19937 generator(0x6d6f6675u);
  return generator;
}
}  // namespace

void Randomize() { RandomizeWith(ClockSeed()); }

void RandomizeWith(std::uint32_t seed) { Generator().seed(seed); }

double Uniform() { return static_cast<double>(Generator()()) / 4294967296.0; }

int RandomInt(double n) { return static_cast<int>(RoundEven(n * Uniform())); }
