// Money: a currency value, yen x 10,000 in a signed 64-bit integer.
#pragma once
#include <cstdint>
#include <string>

struct Currency {
  std::int64_t units = 0;  // yen x 10,000

  static Currency FromYen(double yen);
  double Yen() const { return static_cast<double>(units) / 10000.0; }
  friend auto operator<=>(const Currency&, const Currency&) = default;
};

// "#,###": thousands separators, no decimals (rounded half to even), and an empty text for 0.
std::string FormatMoney(Currency money);
// Reads a money text back: separators allowed, an empty text is 0.
Currency ReadMoney(const std::string& text);
