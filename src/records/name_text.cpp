#include "records/name_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "machine/player_record.h"
#include "platform/convert.h"

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
bool g_converterAllowed = true;

// One converter each way, opened on first use and kept for the run; kNoConverter where the system has none.
iconv_t Converter(bool toCodePage) {
  if (!g_converterAllowed) return kNoConverter;
  static const iconv_t encode = iconv_open("CP932", "UTF-8");
  static const iconv_t decode = iconv_open("UTF-8", "CP932");
  return toCodePage ? encode : decode;
}

// Without a converter plain ASCII, which CP932 holds as itself, still goes through; nothing else does.
bool HaveConverter() { return Converter(true) != kNoConverter && Converter(false) != kNoConverter; }

// Converts as far as the input goes; false when a byte sequence cannot be converted (out holds what was done).
bool Convert(iconv_t cd, const char* in, std::size_t size, std::string& out, std::size_t* used) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[256];
  char* src = const_cast<char*>(in);
  std::size_t left = size;
  bool ok = true;
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  if (used) *used = size - left;
  return ok;
}

// Characters that Japanese input methods outside Windows type for what Windows' code page holds as a look-alike
// twin: the name keeps the twin, which shows the same.
constexpr const char* kTwins[][2] = {{"〜", "～"}, {"‖", "∥"}, {"−", "－"}, {"—", "―"},
                                     {"¢", "￠"}, {"£", "￡"}, {"¬", "￢"}};

// The length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8) return 4;
  if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
  if (c >= 0xC0) return 2;
  return 1;
}

// The text character by character: each as CP932 bytes, or as "?" where CP932 cannot hold it. False when any
// character needed the "?".
bool Encode(const std::string& utf8, std::vector<std::uint8_t>* out) {
  bool all = true;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    std::string ch = utf8.substr(i, n);
    i += n;
    for (const auto& twin : kTwins)
      if (ch == twin[0]) ch = twin[1];
    std::string encoded, back;
    if (!HaveConverter() && n == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      if (out) out->push_back(static_cast<std::uint8_t>(ch[0]));
      continue;
    }
    // Only a character that comes back as itself is kept, so the name reads back exactly as written.
    if (Convert(Converter(true), ch.data(), ch.size(), encoded, nullptr) && !encoded.empty() &&
        Convert(Converter(false), encoded.data(), encoded.size(), back, nullptr) && back == ch) {
      if (out) out->insert(out->end(), encoded.begin(), encoded.end());
    } else {
      all = false;
      if (out) out->push_back('?');
    }
  }
  return all;
}

}  // namespace

std::string FixedName(const std::string& name) {
  std::string fixed = LeftChars(name, kNameChars);
  std::size_t chars = 0;
  for (unsigned char c : fixed) chars += (c & 0xC0) != 0x80;
  fixed.append(kNameChars - chars, ' ');
  return fixed;
}

std::vector<std::uint8_t> ToCodePage(const std::string& utf8) {
  std::vector<std::uint8_t> out;
  Encode(utf8, &out);
  return out;
}

bool CodePageHolds(const std::string& utf8) { return Encode(utf8, nullptr); }

std::string WithoutControls(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) continue;
    // U+0080 to U+009F, the C1 codes, are 0xC2 0x80 to 0xC2 0x9F.
    if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
        static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
      ++i;
      continue;
    }
    out += utf8[i];
  }
  return out;
}

std::string RegisteredName(const std::string& name) { return BlankName(name) ? std::string() : Trim(name); }

bool BlankName(const std::string& utf8) {
  std::string rest = WithoutControls(utf8);
  for (std::size_t at; (at = rest.find("　")) != std::string::npos;) rest.erase(at, 3);
  return rest.find_first_not_of(' ') == std::string::npos;
}

void SetCodePageConverterAvailable(bool available) { g_converterAllowed = available; }

std::string NameFromCodePage(const std::uint8_t* bytes, std::size_t size, bool* exact) {
  // No character takes more than two bytes, so the 30 characters lie within the first 60.
  size = std::min<std::size_t>(size, 2 * kNameChars);
  std::string text;
  if (exact) *exact = true;
  const char* p = reinterpret_cast<const char*>(bytes);
  const bool converter = HaveConverter();
  while (size > 0) {
    std::size_t used = 0;
    if (converter && Convert(Converter(false), p, size, text, &used)) break;
    const auto c = static_cast<unsigned char>(*p);
    if (!converter && c < 0x80) {
      text += *p;
      used = 1;
    } else if (!converter) {
      // A character the converter would have read: one "?", over both bytes of a double-byte one.
      const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
      text += '?';
      used = lead && size > 1 ? 2 : 1;
      if (exact) *exact = false;
    } else {
      // An undecodable byte stands as "?" and decoding goes on after it.
      text += '?';
      used = std::min(used + 1, size);
      if (exact) *exact = false;
    }
    p += used;
    size -= used;
  }
  for (char& c : text)
    if (c == '\0') c = ' ';
  return FixedName(text);
}
