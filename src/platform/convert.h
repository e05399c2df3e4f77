// The conversions the game's arithmetic and captions rely on.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

// Nearest integer, ties to even (every float-to-integer conversion of the game).
std::int64_t RoundEven(double x);
inline std::int16_t CInt(double x) { return static_cast<std::int16_t>(std::clamp<std::int64_t>(RoundEven(x), -32768, 32767)); }
inline std::int32_t CLng(double x) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(RoundEven(x), INT32_MIN, INT32_MAX));
}

// The number at the start of a text, as the game reads a caption back: leading blanks skipped, digits with an
// optional sign and decimal point; an empty or non-numeric text is 0. Thousands separators end the number.
double Val(const std::string& text);

// A number in its shortest plain form: "7", "20", "0.5", "-3".
std::string NumText(double x);
// A number as a single-precision value would show it (7 significant digits): "3.3", "19.5".
std::string SingleText(float x);

// The first n characters (code points) of a UTF-8 text, and the last n.
std::string LeftChars(const std::string& s, int n);
std::string RightChars(const std::string& s, int n);
// Blanks trimmed from both ends.
std::string Trim(const std::string& s);
