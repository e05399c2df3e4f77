#include "machine/money.h"

#include <cmath>

#include "platform/convert.h"

Currency Currency::FromYen(double yen) { return Currency{static_cast<std::int64_t>(std::llround(yen * 10000.0))}; }

std::string FormatMoney(Currency money) {
  // Whole yen, half to even on the four decimals.
  std::int64_t whole = money.units / 10000;
  const std::int64_t rest = money.units % 10000;
  if (rest > 5000 || (rest == 5000 && (whole & 1))) ++whole;
  if (rest < -5000 || (rest == -5000 && (whole & 1))) --whole;
  if (whole == 0) return "";
  const bool negative = whole < 0;
  std::string digits = std::to_string(negative ? -whole : whole);
  std::string out;
  const int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

Currency ReadMoney(const std::string& text) {
  std::string plain;
  for (char c : text)
    if (c != ',') plain += c;
  return Currency::FromYen(Val(plain));
}
