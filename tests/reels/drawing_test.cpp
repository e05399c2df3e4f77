// Reel drawing: the composed frame, the cell choice in both styles, the flashing sevens.
#include <gtest/gtest.h>

#include "lottery/mc_state.h"
#include "platform/picture.h"
#include "reels/reels.h"
#include "sound/sound_bank.h"
#include "support/machine_fixture.h"

namespace {

class ReelDrawingTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    OpenDay();
  }
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
        return ::testing::AssertionFailure() << "pixel " << wx << "," << wy << " is " << std::hex << got
                                             << " not " << want;
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
}

TEST_F(ReelDrawingTest, InMcStyleOnlyTheReelWhoseTurnItIsIsLit) {
  Mc.BonusPhase = 1;
  Lottery.StopOrder = 4;  // centre, right, left
  Reels.LeftReelPos = Reels.CentreReelPos = Reels.RightReelPos = 3;
  auto litReels = [] {
    std::string lit;
    ChooseCells(0);
    ChooseCells(1);
    ChooseCells(2);
    // Row 2 of each reel at position 3: left Replay, centre Replay, right Replay... compare with the dark sprite.
    const ReelCells* cells[3] = {&LeftCells, &CentreCells, &RightCells};
    for (const ReelCells* c : cells) {
      bool dark = false;
      for (int row = 0; row < 4; ++row)
        for (PictureBox* d : {&Form2.Picture17, &Form2.Picture18, &Form2.Picture19, &Form2.Picture20})
          dark = dark || c->Sprite[row] == d;
      lit += dark ? '-' : 'L';
    }
    return lit;
  };
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  EXPECT_EQ(litReels(), "-L-");
  Reels.CentreReelStopped = 1;
  EXPECT_EQ(litReels(), "--L");
  Reels.RightReelStopped = 1;
  EXPECT_EQ(litReels(), "L--");
  Reels.LeftReelStopped = 1;
  EXPECT_EQ(litReels(), "---");
}

TEST_F(ReelDrawingTest, UnderACountingMcTheCherryStaysBrightAndTheRestDark) {
  Mc.BonusPhase = 0;
  Form2.Label14.Caption = "25";
  Reels.LeftReelPos = 1;  // rows: index 0 Mofuran, 1 Mame, 2 Cherry, 3 Seven
  ChooseCells(0);
  EXPECT_EQ(LeftCells.Sprite[0], &Form2.Picture18);
  EXPECT_EQ(LeftCells.Sprite[1], &Form2.Picture19);
  EXPECT_EQ(LeftCells.Sprite[2], &Form2.Picture12);
  EXPECT_EQ(LeftCells.Sprite[3], &Form2.Picture17);
  EXPECT_EQ(LeftCells.Mask[2], &Form2.Picture11);
  Form2.Label14.Caption = "";
  ChooseCells(0);
  EXPECT_EQ(LeftCells.Sprite[0], &Form2.Picture10);
}

TEST_F(ReelDrawingTest, StoppedSevensFlashNormalFlashAndDarkInTurn) {
  Reels.LeftReelPos = 9;
  Reels.LeftReelStopped = 1;
  Reels.CentreReelStopped = Reels.RightReelStopped = 0;
  Flash.FlashCounter = 0;
  std::string seen;
  for (int i = 0; i < 36; ++i) {
    ChooseCells(0);
    ComposeReel(0);
    ASSERT_EQ(LeftCells.Sprite[1], LeftCells.Sprite[3]);
    const PictureBox* s = LeftCells.Sprite[1];
    seen += s == &Form2.Picture8 ? 'n' : s == &Form2.Picture21 ? 'f' : s == &Form2.Picture17 ? 'd' : '?';
  }
  // Flash picture for the first 31 counter values, dark afterwards; the normal one every third.
  EXPECT_EQ(seen, "fnffnffnffnffnffnffnffnffnffnffnddnd");
  EXPECT_EQ(Flash.FlashCounter, 36);
}

TEST_F(ReelDrawingTest, BothDiagonalsFlashWithTheLeftAt9AndTheRightAt17) {
  Reels.LeftReelPos = 9;
  Reels.RightReelPos = 17;
  Reels.LeftReelStopped = Reels.CentreReelStopped = Reels.RightReelStopped = 1;
  Lottery.StopGroup = 2;
  Flash.FlashCounter = 41;  // odd: the test holds, the dark picture
  ChooseCells(2);
  ComposeReel(2);
  EXPECT_EQ(RightCells.Sprite[1], &Form2.Picture17);
  EXPECT_EQ(RightCells.Sprite[3], &Form2.Picture17);
  // With the right reel elsewhere, only the pay line's seven flashes and the left's other seven is steady.
  Reels.RightReelPos = 3;
  Flash.FlashCounter = 41;
  ChooseCells(0);
  ComposeReel(0);
  EXPECT_EQ(LeftCells.Sprite[1], &Form2.Picture8);
  EXPECT_EQ(LeftCells.Sprite[3], &Form2.Picture17);
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

TEST_F(ReelDrawingTest, AMissingPictureFileLeavesTheBuiltInPictureAndTheDayOpens) {
  Form2.Unload();
  Play.ScreenClosed = 0;
  const std::string folder = AppFolder;
  AppFolder = "/nonexistent\\";
  OpenDay();
  AppFolder = folder;
  EXPECT_TRUE(Form2.Loaded());
  EXPECT_FALSE(Form2.Picture8.Image.isNull());
  EXPECT_EQ(Form2.Picture8.Image.size(), QSize(110, 55));
  EXPECT_EQ(Play.ReadyForNextGame, 1);
}

}  // namespace
