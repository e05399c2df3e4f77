// The MC length tables: A for a streak game, B for a newly won MC, C for a fanfare streak.
#pragma once
#include <cstdint>

enum class LengthTable { A, B, C };

// The length that x = RandomInt(1000) gives in a table, for the day's setting s and the PMC item's d (9 in use,
// else 0). Table C depends on neither.
std::int32_t McLengthFromTable(LengthTable table, int x, int setting, int d);
// The count-up steps of the MC start: the integer nearest to length / 111, ties to even (33 gives 0).
std::int16_t McStepsOf(std::int32_t length);
// d of the length tables: 9 while the PMC item is in use, else 0.
int PmcItemBonus();
// Draws from a table for the day's setting and the PMC item, and sets McLength, McGamesLeft and McSteps.
void DrawMcLength(LengthTable table);
