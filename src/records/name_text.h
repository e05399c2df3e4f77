// The player's name as the save file holds it: 30 characters in the Japanese code page (CP932).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The name cut to 30 characters and padded with blanks.
std::string FixedName(const std::string& name);
// The CP932 bytes of a text; a character that CP932 cannot hold (or would not give back unchanged) becomes "?".
std::vector<std::uint8_t> ToCodePage(const std::string& utf8);
// True when CP932 holds every character of the text, so that it reads back exactly as written.
bool CodePageHolds(const std::string& utf8);

// A typed name without its control characters (tab, line breaks, the other C0 and C1 codes and DEL).
std::string WithoutControls(const std::string& utf8);
// True when a typed name holds nothing but blanks (half- or full-width) and control characters: no name at all.
bool BlankName(const std::string& utf8);
// The stored name from CP932 bytes: undecodable bytes become "?" (and `exact` false), NUL bytes blanks, then cut
// or padded to 30 characters.
std::string NameFromCodePage(const std::uint8_t* bytes, std::size_t size, bool* exact = nullptr);
// The registered name of a stored or typed one: trimmed, and empty when nothing but blanks and control characters.
std::string RegisteredName(const std::string& name);

// Acts out a system without the CP932 converter (false), where only plain ASCII converts; true: the system's.
void SetCodePageConverterAvailable(bool available);
