// The program's single random generator.
#pragma once
#include <cstdint>

// Reseeds the generator from the clock.
void Randomize();
void RandomizeWith(std::uint32_t seed);
// A fresh uniform number in [0, 1) with 32 bits of resolution.
double Uniform();
// The integer nearest to n * Uniform(), ties to even: 0 and n come up half as often as every other value.
int RandomInt(double n);
