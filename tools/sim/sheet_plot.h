// The odds sheet as a picture: the payout rate of each setting with its interval and, beneath it, the slump graphs
// (coins out minus coins in against games) of the first three days of settings 1 and 6. Drawn with QPainter onto
// Qt SVG's generator.
#pragma once
#include <string>

#include "tools/sim/odds_sheet.h"

// Writes the picture as an SVG file; false when it cannot be written.
bool DrawSheet(const OddsSheet& sheet, const std::string& path);
