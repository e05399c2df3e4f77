// The program's single random generator. Every draw of the game comes from here, and the generator is reseeded
// from the clock at the points the game names (title screen, the day's setting, every internal lottery, the
// fanfare-streak draw), so that each of them starts from a fresh seed.
#pragma once
#include <cstdint>
#include <initializer_list>

// Reseeds the generator from the clock (the virtual clock on the virtual back end, so that a run is reproducible).
void Randomize();
// Reseeds with a given seed: distinct seeds give distinct generator states.
void RandomizeWith(std::uint64_t seed);
// A fresh uniform number in [0, 1) with 53 bits of resolution.
double Uniform();
// The integer nearest to n * Uniform(), ties to even: it yields 0..n, where 0 and n come up half as often as
// every other value (1/(2n) against 1/n).
int RandomInt(double n);
// The same rounding for a given uniform number u.
int RandomIntOf(double n, double u);

// For tests: the next uniform numbers to hand out, in order, before the generator's own. Reseeding keeps them.
void QueueUniforms(std::initializer_list<double> values);
void ClearQueuedUniforms();
