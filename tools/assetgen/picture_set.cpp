#include "picture_set.h"

#include "cabinet.h"
#include "portraits.h"
#include "reel_pictures.h"
#include "symbols.h"

namespace {

// Which picture box of the machine screen each file is loaded into.
struct FileBox {
  const char* file;
  int box;
};
constexpr FileBox kFileBoxes[] = {
    {"Kyoutai", 0},     {"betb", 5},        {"nana-ura", 7},  {"nana-1", 8},     {"Mofuran-Ura", 9},
    {"Mofuran-1", 10},  {"cherry-Ura", 11}, {"cherry-1", 12}, {"mame-Ura", 13},  {"mame-1", 14},
    {"replay-Ura", 15}, {"replay-1", 16},   {"nana-2", 17},   {"Mofuran-2", 18}, {"mame-2", 19},
    {"replay-2", 20},   {"nana-5", 21},     {"mame-3", 22},   {"cherry-2", 23},  {"Mofuran-3", 24},
    {"replay-3", 25},   {"doram6", 26},     {"doram5", 27},   {"doram4", 28},    {"Mogera", 29},
};

std::string Box(int n) {
  return "Form2.Picture" + std::to_string(n);
}

}  // namespace

std::vector<NamedPicture> PictureFiles(Theme theme) {
  std::vector<NamedPicture> out;
  struct Sym {
    Symbol symbol;
    const char *mask, *normal, *dark, *bright;  // bright is null for the cherry, which has no lit picture
  };
  const Sym syms[] = {{Symbol::Seven, "nana-ura", "nana-1", "nana-2", "nana-5"},
                      {Symbol::Mofuran, "Mofuran-Ura", "Mofuran-1", "Mofuran-2", "Mofuran-3"},
                      {Symbol::Mame, "mame-Ura", "mame-1", "mame-2", "mame-3"},
                      {Symbol::Replay, "replay-Ura", "replay-1", "replay-2", "replay-3"},
                      {Symbol::Cherry, "cherry-Ura", "cherry-1", "cherry-2", nullptr}};
  for (const Sym& s : syms) {
    SymbolPictures pics = DrawSymbol(s.symbol, theme);
    out.push_back({s.mask, pics.mask});
    out.push_back({s.normal, pics.normal});
    out.push_back({s.dark, pics.dark});
    if (s.bright) out.push_back({s.bright, pics.bright});
  }
  const char* doram[3] = {"doram6", "doram5", "doram4"};
  for (int r = 0; r < 3; ++r) out.push_back({doram[r], BonusStrip(kStripW[r], theme, r)});
  out.push_back({"Kyoutai", Cabinet(theme)});
  out.push_back({"betb", BetLamp(theme, true)});
  out.push_back({"Mogera", BonusLamp(theme, true)});
  return out;
}

std::vector<NamedPicture> BuiltInPictures() {
  std::vector<NamedPicture> out;
  for (int r = 0; r < 3; ++r) out.push_back({Box(1 + r), PlainStrip(kStripW[r])});
  out.push_back({Box(4), ReelWindow(true)});
  out.push_back({Box(6), ReelWindow(false)});
  out.push_back({Box(38), DigitStrip()});
  for (int i = 0; i < kPortraitCount; ++i) out.push_back({Box(30 + i), Portrait(i)});
  for (NamedPicture& pic : PictureFiles(Theme::Night))
    for (const FileBox& fb : kFileBoxes)
      if (pic.name == fb.file) out.push_back({Box(fb.box), pic.image});
  return out;
}
