// The picture folder's 25 files and the pictures built into the machine screen: formats, sizes, the mask and
// sprite convention that OR-then-AND composition relies on, and the looks the reels need (dark, lit, plain).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "asset_reader.h"
#include "platform/embedded.h"

namespace {

using assets::Bmp;
using assets::Luma;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

// The mask, normal, dark and bright looks of a symbol: their files and their picture boxes.
struct SymbolFiles {
  std::string file[4];  // the bright one is empty for the cherry
  int box[4];
};

const SymbolFiles kSymbols[] = {
    {{"nana-ura", "nana-1", "nana-2", "nana-5"}, {7, 8, 17, 21}},
    {{"Mofuran-Ura", "Mofuran-1", "Mofuran-2", "Mofuran-3"}, {9, 10, 18, 24}},
    {{"mame-Ura", "mame-1", "mame-2", "mame-3"}, {13, 14, 19, 22}},
    {{"replay-Ura", "replay-1", "replay-2", "replay-3"}, {15, 16, 20, 25}},
    {{"cherry-Ura", "cherry-1", "cherry-2", ""}, {11, 12, 23, 0}},
};

// Every file with its size and the picture box its night look is built into.
struct FileSize {
  std::string name;
  int width, height, box;
};
std::vector<FileSize> AllFiles() {
  std::vector<FileSize> files = {{"doram6", 127, 186, 26}, {"doram5", 135, 186, 27}, {"doram4", 130, 186, 28},
                                 {"Kyoutai", 532, 507, 0},  {"betb", 68, 27, 5},     {"Mogera", 94, 91, 29}};
  for (const SymbolFiles& s : kSymbols)
    for (int look = 0; look < 4; ++look)
      if (!s.file[look].empty()) files.push_back({s.file[look], 110, 55, s.box[look]});
  return files;
}

std::optional<Bmp> Embedded(int box) {
  const auto bytes = EmbeddedFile("Form2.Picture" + std::to_string(box));
  const QImage image = QImage::fromData(bytes.data(), int(bytes.size())).convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  Bmp out{image.width(), image.height(), 24, {}};
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) out.pixels.push_back(image.pixel(x, y) & 0xFFFFFF);
  return out;
}

Bmp Load(const std::string& file) {
  auto bmp = assets::ReadBmp(assets::PictureFile(file));
  EXPECT_TRUE(bmp) << file << " is not a readable 24-bit BMP";
  return bmp.value_or(Bmp{});
}

Bmp LoadBox(int box) {
  auto bmp = Embedded(box);
  EXPECT_TRUE(bmp) << "Form2.Picture" << box << " is not embedded or does not decode";
  return bmp.value_or(Bmp{});
}

double FractionDiffering(const Bmp& a, const Bmp& b) {
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 1.0;
  size_t n = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
  return double(n) / double(a.pixels.size());
}

double MeanLuma(const Bmp& p, int x0, int y0, int w, int h) {
  double sum = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) sum += Luma(p.At(x, y));
  return sum / (w * h);
}

// Mean luma and mean red-minus-blue of a sprite over the pixels its mask covers.
struct InkStats {
  double luma = 0, redness = 0, drawn = 0;  // drawn: share of covered pixels that are not plain white
};
InkStats Ink(const Bmp& sprite, const Bmp& mask) {
  InkStats s;
  size_t covered = 0;
  for (size_t i = 0; i < mask.pixels.size(); ++i) {
    if (mask.pixels[i] != kWhite) continue;
    ++covered;
    const std::uint32_t c = sprite.pixels[i];
    s.luma += Luma(c);
    s.redness += assets::Red(c) - assets::Blue(c);
    s.drawn += c != kWhite;
  }
  if (covered) s.luma /= double(covered), s.redness /= double(covered), s.drawn /= double(covered);
  return s;
}

// The mask and sprite convention, and the looks of the dark and the bright sprites, for one set of pictures.
void CheckSymbols(const std::string& look, const std::function<Bmp(const SymbolFiles&, int)>& get) {
  std::vector<Bmp> masks;
  for (const SymbolFiles& s : kSymbols) {
    SCOPED_TRACE(look + " " + s.file[1]);
    const Bmp mask = get(s, 0);
    ASSERT_EQ(mask.pixels.size(), 110u * 55u);
    size_t white = 0;
    for (std::uint32_t c : mask.pixels) {
      ASSERT_TRUE(c == kWhite || c == kBlack) << "mask pixel " << std::hex << c;
      white += c == kWhite;
    }
    const double cover = double(white) / double(mask.pixels.size());
    EXPECT_GT(cover, 0.15) << "the symbol is too small to read";
    EXPECT_LT(cover, 0.80) << "the mask hides most of the strip";
    masks.push_back(mask);

    std::vector<InkStats> ink;
    for (int kind = 1; kind <= 3; ++kind) {
      if (kind == 3 && s.file[3].empty()) break;
      const Bmp sprite = get(s, kind);
      ASSERT_EQ(sprite.pixels.size(), mask.pixels.size());
      for (size_t i = 0; i < mask.pixels.size(); ++i) {
        if (mask.pixels[i] == kBlack) {
          ASSERT_EQ(sprite.pixels[i], kWhite) << "sprite " << kind << " not white at " << i % 110 << "," << i / 110;
        }
      }
      ink.push_back(Ink(sprite, mask));
      EXPECT_GT(ink.back().drawn, 0.4) << "sprite " << kind << " shows little of the symbol";
    }
    const double darkRatio = ink[1].luma / ink[0].luma;
    EXPECT_GT(darkRatio, 0.3);
    EXPECT_LT(darkRatio, 0.5) << "the dark sprite should be about 40 % as bright";
    if (ink.size() == 3) {
      const bool brighter = ink[2].luma > ink[0].luma + 8, redder = ink[2].redness > ink[0].redness + 15;
      EXPECT_TRUE(brighter || redder) << "the lit sprite should be clearly brighter or redder";
    }
  }
  for (size_t a = 0; a < masks.size(); ++a)
    for (size_t b = a + 1; b < masks.size(); ++b)
      EXPECT_GT(FractionDiffering(masks[a], masks[b]), 0.05) << look << ": two symbols share a shape";
}

TEST(PictureFilesTest, AllTwentyFiveAre24BitBmpsAtTheirSizes) {
  const auto files = AllFiles();
  ASSERT_EQ(files.size(), 25u);
  for (const FileSize& f : files) {
    const auto bmp = assets::ReadBmp(assets::PictureFile(f.name));
    ASSERT_TRUE(bmp) << f.name << ".bmp is missing or not an uncompressed 24-bit BMP";
    EXPECT_EQ(std::pair(bmp->width, bmp->height), std::pair(f.width, f.height)) << f.name;
  }
}

TEST(SymbolPicturesTest, DayFilesFollowTheMaskAndSpriteConvention) {
  CheckSymbols("files", [](const SymbolFiles& s, int look) { return Load(s.file[look]); });
}

TEST(SymbolPicturesTest, NightPicturesFollowTheMaskAndSpriteConvention) {
  CheckSymbols("built-in", [](const SymbolFiles& s, int look) { return LoadBox(s.box[look]); });
}

TEST(BuiltInPicturesTest, NightLookIsADistinctSetOfTheSameSizes) {
  for (const FileSize& f : AllFiles()) {
    SCOPED_TRACE(f.name);
    const Bmp night = LoadBox(f.box);
    EXPECT_EQ(std::pair(night.width, night.height), std::pair(f.width, f.height));
    if (f.name.find("Ura") != std::string::npos || f.name.find("ura") != std::string::npos) continue;  // shapes
    EXPECT_GT(FractionDiffering(night, Load(f.name)), 0.15) << "the night look repeats the day look";
  }
}

TEST(CabinetTest, ReelWindowHoleIsPlainAndTheLampsLightUpInBothLooks) {
  const std::tuple<const char*, Bmp, Bmp, Bmp> looks[2] = {{"day", Load("Kyoutai"), Load("betb"), Load("Mogera")},
                                                          {"night", LoadBox(0), LoadBox(5), LoadBox(29)}};
  for (const auto& [name, cabinet, bet, bonus] : looks) {
    SCOPED_TRACE(name);
    ASSERT_EQ(cabinet.width, 532);
    const std::uint32_t hole = cabinet.At(32, 100);
    for (int y = 100; y < 286; ++y)
      for (int x = 32; x < 425; ++x)
        ASSERT_EQ(cabinet.At(x, y), hole) << "picture under the reel window at " << x << "," << y;
    // Where the lamps sit the cabinet shows them unlit, so showing a lamp visibly turns it on.
    EXPECT_LT(MeanLuma(cabinet, 48, 384, 68, 27) + 30, MeanLuma(bet, 0, 0, 68, 27));
    EXPECT_LT(MeanLuma(cabinet, 437 + 20, 303 + 20, 54, 51) + 30, MeanLuma(bonus, 20, 20, 54, 51));
  }
}

TEST(ReelPicturesTest, PlainStripsAreLightDrumsDarkerTowardsTopAndBottom) {
  const int widths[3] = {127, 135, 130};
  for (int r = 0; r < 3; ++r) {
    const Bmp strip = LoadBox(1 + r);
    ASSERT_EQ(std::pair(strip.width, strip.height), std::pair(widths[r], 186));
    const double middle = MeanLuma(strip, 0, 88, 125, 10);
    EXPECT_GT(middle, 200) << "a light drum";
    EXPECT_LT(MeanLuma(strip, 0, 0, 125, 10), middle - 25);
    EXPECT_LT(MeanLuma(strip, 0, 176, 125, 10), middle - 25);
  }
}

TEST(ReelPicturesTest, WindowsHoldTheStripsAndTheUnlitOneIsDark) {
  const Bmp lit = LoadBox(4), unlit = LoadBox(6);
  ASSERT_EQ(std::pair(lit.width, lit.height), std::pair(393, 186));
  ASSERT_EQ(unlit.width, 393);
  const int xs[3] = {0, 128, 260};
  for (int r = 0; r < 3; ++r) {  // what the reels copy in (125 columns) is what the window starts with
    const Bmp strip = LoadBox(1 + r);
    for (int y = 0; y < 186; ++y)
      for (int x = 0; x < 125; ++x) ASSERT_EQ(lit.At(xs[r] + x, y), strip.At(x, y)) << r << ": " << x << "," << y;
  }
  EXPECT_LT(MeanLuma(unlit, 0, 0, 393, 186), 0.3 * MeanLuma(lit, 0, 0, 393, 186));
}

TEST(ReelPicturesTest, BonusStripsAreColouredUnlikeThePlainOnes) {
  const char* files[3] = {"doram6", "doram5", "doram4"};
  for (int r = 0; r < 3; ++r) {
    const Bmp doram = Load(files[r]), plain = LoadBox(1 + r);
    double chroma = 0;
    for (int y = 0; y < 186; ++y)
      for (int x = 0; x < 125; ++x) {
        const std::uint32_t c = doram.At(x, y);
        chroma += std::max({assets::Red(c), assets::Green(c), assets::Blue(c)}) -
                  std::min({assets::Red(c), assets::Green(c), assets::Blue(c)});
      }
    EXPECT_GT(chroma / (125 * 186), 40) << files[r] << " should glow in colour";
    EXPECT_GT(FractionDiffering(doram, plain), 0.9);
  }
}

TEST(DigitStripTest, TenDistinctDarkDigitsOnWhiteInTheirCells) {
  const Bmp strip = LoadBox(38);
  ASSERT_EQ(std::pair(strip.width, strip.height), std::pair(97, 55));
  const int xs[5] = {2, 20, 38, 56, 74};
  std::map<int, std::vector<bool>> shapes;  // digit -> its dark pixels in the 18 x 26 window
  for (int cell = 0; cell < 10; ++cell) {
    const int digit = (cell + 1) % 10, x0 = xs[cell % 5], y0 = cell < 5 ? 0 : 28;
    std::vector<bool> dark;
    for (int y = 0; y < 26; ++y)
      for (int x = 0; x < 18; ++x) {
        const double l = Luma(strip.At(x0 + x, y0 + y));
        dark.push_back(l < 120);
        if (x == 0 || x == 17 || y == 0) {
          EXPECT_GT(l, 200) << "digit " << digit << " touches its window's edge";
        }
      }
    EXPECT_GT(std::count(dark.begin(), dark.end(), true), 20) << "digit " << digit;
    shapes[digit] = dark;
  }
  for (auto a = shapes.begin(); a != shapes.end(); ++a)
    for (auto b = std::next(a); b != shapes.end(); ++b)
      EXPECT_NE(a->second, b->second) << a->first << " vs " << b->first;
  const auto ink = [&](int d) { return std::count(shapes[d].begin(), shapes[d].end(), true); };
  // The window shows the "0" cell (x 74, y 28) for every counter outside 1..9: it must be a zero, open in the middle
  // where an eight is closed.
  const auto middleInk = [&](int d) {
    int n = 0;
    for (int x = 6; x <= 11; ++x) n += shapes[d][size_t(12 * 18 + x)] || shapes[d][size_t(13 * 18 + x)];
    return n;
  };
  EXPECT_EQ(middleInk(0), 0);
  EXPECT_GT(middleInk(8), 2);
  for (int d = 0; d <= 9; ++d) {
    EXPECT_LE(ink(1), ink(d));
    EXPECT_GE(ink(8), ink(d));
  }
}

TEST(PortraitsTest, FiveDistinctPortraits) {
  std::vector<Bmp> portraits;
  for (int box = 30; box <= 34; ++box) {
    portraits.push_back(LoadBox(box));
    EXPECT_EQ(std::pair(portraits.back().width, portraits.back().height), std::pair(132, 66));
  }
  for (size_t a = 0; a < portraits.size(); ++a)
    for (size_t b = a + 1; b < portraits.size(); ++b) EXPECT_GT(FractionDiffering(portraits[a], portraits[b]), 0.3);
}

TEST(BuiltInPicturesTest, UnknownNamesAreEmpty) {
  EXPECT_TRUE(EmbeddedFile("Form2.Picture35").empty());
  EXPECT_TRUE(EmbeddedFile("Kyoutai").empty());
}

}  // namespace
