// Reel drawing: the composed frame, the cell choice in both styles, the flashing sevens, the resting display and
// the pictures read for the day.
#include <optional>
#include <tuple>

#include "harness/coded_pictures.h"
#include "harness/harness.h"
#include "platform/embedded.h"
#include "platform/picture.h"
#include "reels/reels.h"

namespace {

using coded::Cell;
using coded::NumberOf;

// A symbol's picture boxes: mask, normal, dark and lit (MC style) sprite.
struct SymbolBoxes {
  int mask, normal, dark, lit;
};
// By symbol code 1..5.
constexpr SymbolBoxes kBoxes[6] = {
    {}, {7, 8, 17, 8}, {9, 10, 18, 24}, {13, 14, 19, 14}, {15, 16, 20, 25}, {11, 12, 23, 12}};

constexpr int kCellX[3] = {3, 141, 273}, kBackgroundX[3] = {0, 128, 260};
constexpr int kStoppedY[4] = {188, 128, 68, 8};
// The rows of each reel (left, centre, right) on the pay line of StopGroup 1..5: 3 top, 2 middle, 1 bottom.
constexpr int kLine[6][3] = {{}, {3, 3, 3}, {3, 2, 1}, {2, 2, 2}, {1, 2, 3}, {1, 1, 1}};

const std::int16_t* StripOf(int reel) { return reel == 0 ? LeftStrip : reel == 1 ? CentreStrip : RightStrip; }
std::int16_t* const kStopped[3] = {&Reels.LeftReelStopped, &Reels.CentreReelStopped, &Reels.RightReelStopped};
std::int16_t* const kPos[3] = {&Reels.LeftReelPos, &Reels.CentreReelPos, &Reels.RightReelPos};
ReelCells& CellsOf(int reel) { return reel == 0 ? LeftCells : reel == 1 ? CentreCells : RightCells; }

// What the reel window shows in the middle of a row of a reel drawn with offset 0, or nothing when the row lies
// outside the window.
std::optional<Cell> Shown(int reel, int row) {
  const int top = *kStopped[reel] == 1 ? kStoppedY[row] : 130 - 60 * row;
  const int from = std::max(top, 0), to = std::min(top + 54, 185);
  if (from > to) return std::nullopt;
  return coded::CellAt(kCellX[reel] + 55, (from + to) / 2);
}

class ReelDrawingTest : public MachineTest {
 protected:
  ReelDrawingTest() : MachineTest(true) {}
};

// Whether a cell at (x, y) of the reel window equals (background OR mask) AND sprite, pixel by pixel, where it
// lies inside the window.
::testing::AssertionResult CellComposed(const QImage& window, const QImage& background, int bgX, int x, int y,
                                        const QImage& mask, const QImage& sprite) {
  for (int dy = 0; dy < 55; ++dy)
    for (int dx = 0; dx < 110; ++dx) {
      const int wx = x + dx, wy = y + dy;
      if (wx < 0 || wy < 0 || wx >= window.width() || wy >= window.height() || wy >= 200) continue;
      const QRgb want = ((background.pixel(wx - bgX, wy) | mask.pixel(dx, dy)) & sprite.pixel(dx, dy)) & 0xFFFFFF;
      const QRgb got = window.pixel(wx, wy) & 0xFFFFFF;
      if (want != got)
        return ::testing::AssertionFailure()
               << "pixel " << wx << "," << wy << " is " << std::hex << got << " not " << want;
    }
  return ::testing::AssertionSuccess();
}

TEST_F(ReelDrawingTest, AStoppedReelShowsEachRowsSpriteAtItsPlaceOverItsStrip) {
  Reels.CentreReelPos = 1;  // Mame, Mofuran, Seven from the top; row 0 below the window
  Reels.CentreReelStopped = 1;
  Reels.LeftReelStopped = 0;
  ChooseCells(1);
  ComposeReel(1);
  const QImage& w = Form2.Picture4.Image;
  const QImage& bg = Form2.Picture2.Image;
  EXPECT_TRUE(CellComposed(w, bg, 128, 141, 8, Form2.Picture13.Image, Form2.Picture14.Image));
  EXPECT_TRUE(CellComposed(w, bg, 128, 141, 68, Form2.Picture9.Image, Form2.Picture10.Image));
  EXPECT_TRUE(CellComposed(w, bg, 128, 141, 128, Form2.Picture7.Image, Form2.Picture8.Image));
}

TEST_F(ReelDrawingTest, ASpinningReelDrawsItsRowsAtTheOffsetOverTheMcStripInMcStyle) {
  Mc.BonusPhase = 1;
  Lottery.StopOrder = 1;  // the left reel's turn: lit
  Reels.LeftReelPos = 9;
  Reels.LeftReelOffset = 20;
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  ChooseCells(0);
  ComposeReel(0);
  const QImage& w = Form2.Picture4.Image;
  // Row 1 (index 9: a seven, lit = its normal sprite) at offset + 70; row 2 (Mofuran, lit) at offset + 10.
  EXPECT_TRUE(CellComposed(w, Form2.Picture26.Image, 0, 3, 90, Form2.Picture7.Image, Form2.Picture8.Image));
  EXPECT_TRUE(CellComposed(w, Form2.Picture26.Image, 0, 3, 30, Form2.Picture9.Image, Form2.Picture24.Image));
  // Row 0 at offset + 130, partly below the window; row 3 at offset - 50, partly above it.
  for (const int row : {0, 3})
    EXPECT_TRUE(CellComposed(w, Form2.Picture26.Image, 0, 3, 150 - 60 * row, CellsOf(0).Mask[row]->Image,
                             CellsOf(0).Sprite[row]->Image))
        << row;
}

// The sprite of every row. In normal style the normal one, but while the big counter counts an MC the dark one
// (the cherry keeps its normal one). In MC style, whatever the big counter shows, the lit one on the reel to be
// stopped next and the dark one on the others: an order names the reels from the first stop to the last, and a
// reel's turn comes after as many stops as it has reels before it; with any other order every reel's turn comes
// after two stops.
TEST_F(ReelDrawingTest, EveryRowsSpriteInBothStylesAndForEveryStopOrder) {
  const char* const kOrders[7] = {"", "LCR", "LRC", "CLR", "CRL", "RLC", "RCL"};
  coded::PaintReelPictures();
  // At position 1 each symbol stands on one of the reels: Mofuran Mame Cherry Seven, Replay Seven Mofuran Mame,
  // Mame Mofuran Replay Seven from row 0 up.
  Reels.LeftReelPos = Reels.CentreReelPos = Reels.RightReelPos = 1;
  Reels.LeftReelOffset = Reels.CentreReelOffset = Reels.RightReelOffset = 0;
  for (int phase : {0, 1, 2})
    for (const char* count : {"", "25"})
      for (int order : {1, 2, 3, 4, 5, 6, 0, 7, -1, 100}) {
        const std::string named = order >= 1 && order <= 6 ? kOrders[order] : "";
        const std::string stops = named.empty() ? "LCR" : named;
        for (int n = 0; n <= 3; ++n) {
          Mc.BonusPhase = static_cast<std::int16_t>(phase);
          Form2.McCounter.Caption = count;
          Lottery.StopOrder = static_cast<std::int16_t>(order);
          for (int reel = 0; reel < 3; ++reel) *kStopped[reel] = stops.find("LCR"[reel]) < static_cast<size_t>(n);
          for (int reel = 0; reel < 3; ++reel) {
            const bool lit = (named.empty() ? 2 : static_cast<int>(named.find("LCR"[reel]))) == n;
            ChooseCells(reel);
            ComposeReel(reel);
            EXPECT_EQ(coded::BackgroundAt(kBackgroundX[reel] + 1, 7), phase == 0 ? 1 + reel : 26 + reel);
            for (int row = 0; row < 4; ++row) {
              const int code = SymbolAt(StripOf(reel), 1, row);
              const SymbolBoxes& b = kBoxes[code];
              const Cell want{b.mask, phase != 0                 ? (lit ? b.lit : b.dark)
                                      : *count && code != Cherry ? b.dark
                                                                 : b.normal};
              const Cell chosen{NumberOf(CellsOf(reel).Mask[row]), NumberOf(CellsOf(reel).Sprite[row])};
              const auto shown = Shown(reel, row);
              EXPECT_TRUE(chosen == want && shown.value_or(want) == want)
                  << "phase " << phase << " count '" << count << "' order " << order << " stopped " << n << " reel "
                  << reel << " row " << row << ": sprite " << chosen.sprite << " not " << want.sprite;
            }
          }
        }
      }
}

// The sevens of a stopped reel while the left reel stands at 9. Each reel flashes the sevens of some rows by a
// test of the counter c (every third value, or every odd one); the left reel shows its normal picture when the
// test holds, else the flash picture for c up to 30 and the dark one after; the centre and right reels show the
// dark picture when the test holds, else the normal one up to 30 and the flash one after. A reel that flashes
// moves c on by one, from 120 back to 0.
TEST_F(ReelDrawingTest, StoppedSevensFlashByReelGroupAndCounter) {
  coded::PaintReelPictures();
  struct Rule {
    std::vector<int> rows;
    bool everyThird;
  };
  for (int group = 1; group <= 5; ++group)
    for (bool rightAt17 : {false, true})
      for (bool leftAt9 : {true, false})
        for (int stopped = 0; stopped < 8; ++stopped) {
          const bool left = stopped & 1, centre = stopped & 2, right = stopped & 4, all = stopped == 7;
          Lottery.StopGroup = static_cast<std::int16_t>(group);
          Reels.LeftReelPos = leftAt9 ? 9 : 10;
          Reels.CentreReelPos = 5;
          Reels.RightReelPos = rightAt17 ? 17 : 3;
          Reels.LeftReelStopped = left, Reels.CentreReelStopped = centre, Reels.RightReelStopped = right;
          std::optional<Rule> rules[3];
          if (left && leftAt9) rules[0] = Rule{{1, 3}, true};
          if (centre && left && leftAt9) rules[1] = Rule{{kLine[group][1]}, group == 1};
          if (all && leftAt9) {
            const bool diagonal = group == 2 || group == 4;
            rules[2] = Rule{diagonal && rightAt17 ? std::vector<int>{1, 3} : std::vector<int>{kLine[group][2]},
                            group == 1 || group == 3};
          }
          // Every frame chooses and composes its cells; the pixels are checked where a player sees three
          // stopped reels, the other frames by cell.
          const bool looked = all && leftAt9;
          for (int c = 0; c <= 121; ++c)
            for (int reel = 0; reel < 3; ++reel) {
              ChooseCells(reel);
              Flash.FlashCounter = static_cast<std::int16_t>(c);
              ComposeReel(reel);
              const auto what = [&] {
                return ::testing::Message() << "group " << group << " right at 17 " << rightAt17 << " left at 9 "
                                            << leftAt9 << " stopped " << stopped << " reel " << reel << " c " << c;
              };
              int want[4];
              for (int row = 0; row < 4; ++row) want[row] = kBoxes[SymbolAt(StripOf(reel), *kPos[reel], row)].normal;
              if (rules[reel]) {
                const bool test = rules[reel]->everyThird ? c % 3 == 1 : c % 2 == 1;
                const bool early = c <= 30;
                const int picture = reel == 0 ? (test ? 8 : early ? 21 : 17) : (test ? 17 : early ? 8 : 21);
                for (int row : rules[reel]->rows) want[row] = picture;
                // With the right reel off 17 the left's seven off a diagonal pay line stands still.
                if (reel == 0 && all && !rightAt17 && (group == 2 || group == 4)) want[group == 2 ? 1 : 3] = 8;
              }
              EXPECT_EQ(Flash.FlashCounter, rules[reel] ? (c == 120 || c == 121 ? 0 : c + 1) : c) << what();
              for (int row = 0; row < 4; ++row) {
                ASSERT_EQ(NumberOf(CellsOf(reel).Sprite[row]), want[row]) << what() << " row " << row;
                if (!looked || row == 0) continue;
                ASSERT_EQ(coded::CellAt(kCellX[reel] + 55, kStoppedY[row] + 27).sprite, want[row]) << what();
              }
            }
        }
}

TEST_F(ReelDrawingTest, Position22DrawsLikePosition1) {
  Reels.LeftReelStopped = 0;
  Reels.LeftReelOffset = 30;
  Reels.LeftReelPos = 22;
  ChooseCells(0);
  ComposeReel(0);
  const QImage at22 = Form2.Picture4.Image.copy(0, 0, 128, 186);
  Reels.LeftReelPos = 1;
  ChooseCells(0);
  ComposeReel(0);
  EXPECT_EQ(Form2.Picture4.Image.copy(0, 0, 128, 186), at22);
}

// The day opens on twelve resting cells with their normal sprites, drawn over the window's own picture (no strip
// is copied): from the top, left Replay Seven Cherry Mame, centre Replay Mame Mofuran Seven, right Mame Seven
// Replay Mofuran, at y = -50, 10, 70 and 130.
TEST_F(ReelDrawingTest, TheDayOpensOnTwelveRestingCellsOverTheWindowsOwnPicture) {
  const int kShown[3][4] = {
      {Replay, Seven, Cherry, Mame}, {Replay, Mame, Mofuran, Seven}, {Mame, Seven, Replay, Mofuran}};
  coded::PaintReelPictures();
  DrawInitialReels();
  for (int reel = 0; reel < 3; ++reel) {
    for (int i = 0; i < 4; ++i) {
      const int top = -50 + 60 * i, x = kCellX[reel];
      const SymbolBoxes& b = kBoxes[kShown[reel][i]];
      const Cell want{b.mask, b.normal};
      // The cell's corners, and the window's own picture just outside them.
      for (int y : {std::max(top, 0), top + 54})
        for (int cx : {x, x + 109})
          EXPECT_TRUE(coded::CellAt(cx, y) == want) << reel << " " << i << " " << cx << "," << y;
      const int middle = top < 0 ? 2 : top + 27;
      EXPECT_EQ(coded::BackgroundAt(x - 1, middle), 4);
      EXPECT_EQ(coded::BackgroundAt(x + 110, middle), 4);
      EXPECT_EQ(coded::BackgroundAt(x + 55, top + 55), 4);
      if (top > 0) {
        EXPECT_EQ(coded::BackgroundAt(x + 55, top - 1), 4);
      }
    }
    EXPECT_EQ(coded::BackgroundAt(kBackgroundX[reel] + 1, 7), 4);
  }
}

// Files 1 to 8 are read every day; 9 to 25 only for a player bankrupt no more than 19 times who is not wearing
// the upgraded spectacles (grade 821). Otherwise their boxes keep the pictures built into the screen.
TEST_F(ReelDrawingTest, NightPicturesStandInForFiles9To25) {
  struct File {
    const char* name;
    int box;
  };
  const File kFiles[25] = {
      {"nana-ura", 7},   {"cherry-Ura", 11}, {"cherry-1", 12}, {"cherry-2", 23},  {"replay-Ura", 15},
      {"doram6", 26},    {"doram5", 27},     {"doram4", 28},   {"Kyoutai", 0},    {"betb", 5},
      {"nana-1", 8},     {"nana-2", 17},     {"nana-5", 21},   {"Mofuran-1", 10}, {"Mofuran-2", 18},
      {"Mofuran-3", 24}, {"Mofuran-Ura", 9}, {"mame-1", 14},   {"mame-2", 19},    {"mame-3", 22},
      {"mame-Ura", 13},  {"replay-1", 16},   {"replay-2", 20}, {"replay-3", 25},  {"Mogera", 29},
  };
  QImage files[25], builtIns[25];
  for (int i = 0; i < 25; ++i) {
    files[i] = LoadImageFile(AppFolder + "sozaiMofuran\\" + kFiles[i].name + ".bmp");
    ASSERT_FALSE(files[i].isNull()) << kFiles[i].name;
    const auto bytes = EmbeddedFile("Form2.Picture" + std::to_string(kFiles[i].box));
    builtIns[i] = QImage::fromData(bytes.data(), static_cast<int>(bytes.size())).convertToFormat(QImage::Format_RGB32);
  }
  // The first and the last of the files left out look unlike the pictures that stand in for them.
  ASSERT_NE(files[8], builtIns[8]);
  ASSERT_NE(files[24], builtIns[24]);
  // {bankruptcies, spectacles grade, every file read}
  for (auto [bankrupt, grade, allFiles] : {std::tuple{0.0f, 0.0f, true}, {19.0f, 0.0f, true}, {20.0f, 0.0f, false},
                                           {57.0f, 0.0f, false}, {0.0f, 821.0f, false}, {19.0f, 821.0f, false},
                                           {0.0f, 820.0f, true}, {19.0f, 822.0f, true}}) {
    Form2.Unload();
    Record.BankruptCount = bankrupt;
    Record.SpectaclesGrade = grade;
    OpenDay();
    for (int i = 0; i < 25; ++i) {
      const QImage& want = i < 8 || allFiles ? files[i] : builtIns[i];
      EXPECT_EQ(coded::Box(kFiles[i].box).Image.copy(0, 0, want.width(), want.height()), want)
          << kFiles[i].name << " bankrupt " << bankrupt << " grade " << grade;
    }
  }
}

TEST_F(ReelDrawingTest, AMissingPictureFileLeavesTheBuiltInPictureAndTheDayOpens) {
  Form2.Unload();
  const std::string appFolder = AppFolder;
  AppFolder = "/nonexistent\\";
  OpenDay();
  AppFolder = appFolder;
  EXPECT_TRUE(Form2.Loaded());
  EXPECT_FALSE(Form2.Picture8.Image.isNull());
  EXPECT_EQ(Form2.Picture8.Image.size(), QSize(110, 55));
  EXPECT_EQ(Play.ReadyForNextGame, 1);
}

}  // namespace
