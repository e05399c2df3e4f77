#include "platform/convert.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

std::int64_t RoundEven(double x) {
  // Values from damaged save files can be anything: NaN reads as 0 and the rest is held in range.
  if (std::isnan(x)) return 0;
  constexpr double kLimit = 9.0e18;
  return static_cast<std::int64_t>(std::nearbyint(std::clamp(x, -kLimit, kLimit)));
}

double Val(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t j = i;
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
  bool digits = false;
  while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) { ++j; digits = true; }
  if (j < text.size() && text[j] == '.') {
    ++j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) { ++j; digits = true; }
  }
  if (!digits) return 0.0;
  // A whole number of up to 15 digits, as the labels hold: read here, exactly the value strtod would give.
  const size_t first = i + ((text[i] == '+' || text[i] == '-') ? 1 : 0);
  if (j - first <= 15 && (j == text.size() || (text[j] != 'e' && text[j] != 'E'))) {
    std::int64_t whole = 0;
    bool plain = true;
    for (size_t k = first; k < j && plain; ++k) {
      plain = text[k] != '.';
      whole = whole * 10 + (text[k] - '0');
    }
    if (plain) {
      const double v = static_cast<double>(whole);
      return text[i] == '-' ? -v : v;
    }
  }
  // An exponent belongs to the number ("3e+38").
  if (j < text.size() && (text[j] == 'e' || text[j] == 'E')) {
    size_t k = j + 1;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
    if (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) {
      while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) ++k;
      j = k;
    }
  }
  return std::strtod(text.substr(i, j - i).c_str(), nullptr);
}

namespace {
std::string Shortest(double x, int digits) {
  if (x == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", digits, x);
  std::string s = buf;
  // Plain form for the magnitudes the game shows.
  if (s.find('e') != std::string::npos && std::fabs(x) < 1e15 && std::fabs(x) >= 1e-4) {
    std::snprintf(buf, sizeof buf, "%.*f", 6, x);
    s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

size_t CodePoints(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += !IsContinuation(c);
  return n;
}

// Byte offset of the code point with index k (or the end).
size_t OffsetOf(const std::string& s, size_t k) {
  size_t i = 0, n = 0;
  for (; i < s.size(); ++i) {
    if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
      if (n == k) return i;
      ++n;
    }
  }
  return s.size();
}
}  // namespace

std::string NumText(double x) { return Shortest(x, 15); }

std::string SingleText(float x) { return Shortest(static_cast<double>(x), 7); }

std::string LeftChars(const std::string& s, int n) {
  if (n <= 0) return "";
  return s.substr(0, OffsetOf(s, static_cast<size_t>(n)));
}

std::string RightChars(const std::string& s, int n) {
  const size_t total = CodePoints(s);
  if (n <= 0) return "";
  if (static_cast<size_t>(n) >= total) return s;
  return s.substr(OffsetOf(s, total - static_cast<size_t>(n)));
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}
