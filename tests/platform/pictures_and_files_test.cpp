// Block transfers on picture bitmaps, and game paths on this platform's files.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/convert.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/picture.h"

namespace {

QImage Filled(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(BitBltTest, CopyOrAndWorkOnThePixels) {
  QImage dst = Filled(4, 4, qRgb(0x0F, 0xF0, 0x33));
  const QImage src = Filled(4, 4, qRgb(0xF0, 0x30, 0x0F));
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCPAINT);
  EXPECT_EQ(dst.pixel(0, 0) & 0xFFFFFF, 0xFFF03Fu);
  BitBlt(dst, 1, 0, 1, 1, src, 0, 0, SRCAND);
  EXPECT_EQ(dst.pixel(1, 0) & 0xFFFFFF, 0x003003u);
  BitBlt(dst, 2, 0, 1, 1, src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.pixel(2, 0) & 0xFFFFFF, 0xF0300Fu);
  EXPECT_EQ(dst.pixel(3, 0) & 0xFFFFFF, 0x0FF033u);
}

TEST(BitBltTest, MaskThenSpriteComposesASymbolOverAnyBackground) {
  // Mask: white where the symbol is. Sprite: the symbol on white.
  QImage mask = Filled(2, 1, qRgb(0, 0, 0));
  mask.setPixel(0, 0, qRgb(255, 255, 255));
  QImage sprite = Filled(2, 1, qRgb(255, 255, 255));
  sprite.setPixel(0, 0, qRgb(200, 10, 10));
  QImage strip = Filled(2, 1, qRgb(30, 90, 60));
  BitBlt(strip, 0, 0, 2, 1, mask, 0, 0, SRCPAINT);
  BitBlt(strip, 0, 0, 2, 1, sprite, 0, 0, SRCAND);
  EXPECT_EQ(strip.pixel(0, 0) & 0xFFFFFF, 0xC80A0Au);
  EXPECT_EQ(strip.pixel(1, 0) & 0xFFFFFF, 0x1E5A3Cu);
}

TEST(BitBltTest, ClipsToBothBitmaps) {
  QImage dst = Filled(10, 10, qRgb(0, 0, 0));
  const QImage src = Filled(5, 5, qRgb(255, 255, 255));
  // A 400 x 200 block from a 5 x 5 source lands on the 5 x 5 corner only.
  BitBlt(dst, 0, 0, 400, 200, src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.pixel(4, 4) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(dst.pixel(5, 5) & 0xFFFFFF, 0u);
  // Negative places: rows above the bitmap are dropped, the rest shifts with the source.
  QImage d2 = Filled(10, 10, qRgb(0, 0, 0)), s2 = Filled(3, 3, qRgb(0, 0, 0));
  s2.setPixel(2, 2, qRgb(255, 0, 0));
  BitBlt(d2, -1, -1, 3, 3, s2, 0, 0, SRCCOPY);
  EXPECT_EQ(d2.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
  BitBlt(d2, 8, 8, 5, 5, s2, 0, 0, SRCCOPY);  // past the far edges: no crash, part drawn
  EXPECT_EQ(d2.pixel(9, 9) & 0xFFFFFF, 0u);
}

TEST(GamePathTest, BackslashesBecomeTheSeparatorAndNamesAreExact) {
  EXPECT_EQ(NativePath("/opt/game\\soundMofuran\\StSound2.wav"), "/opt/game/soundMofuran/StSound2.wav");
  EXPECT_EQ(NativePath("\\a\\\\b\\"), "/a//b/");
  EXPECT_EQ(NativePath(""), "");
  const auto dir = std::filesystem::temp_directory_path() / ("mofuran_paths_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "soundMofuran");
  const std::string base = dir.string() + "\\";
  ASSERT_TRUE(WriteAllBytes(base + "soundMofuran\\LeverOn4.WAV", Bytes{1, 2, 3}));
  EXPECT_TRUE(FileExists(base + "soundMofuran\\LeverOn4.WAV"));
  EXPECT_FALSE(FileExists(base + "soundMofuran\\LeverOn4.wav"));
  const auto bytes = ReadAllBytes(base + "soundMofuran\\LeverOn4.WAV");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, (Bytes{1, 2, 3}));
  EXPECT_FALSE(ReadAllBytes(base + "missing.wav").has_value());
  EXPECT_FALSE(ReadAllBytes(base + "soundMofuran").has_value());  // a folder reads as nothing
  // A bounded read: the start of a file, and for anything else a verdict and nothing from an earlier read.
  Bytes start{9, 9, 9, 9};
  EXPECT_EQ(ReadFileStart(base + "soundMofuran\\LeverOn4.WAV", 2, start), FileRead::Read);
  EXPECT_EQ(start, (Bytes{1, 2}));
  EXPECT_EQ(ReadFileStart(base + "soundMofuran\\LeverOn4.WAV", 10, start), FileRead::Read);
  EXPECT_EQ(start, (Bytes{1, 2, 3}));
  EXPECT_EQ(ReadFileStart(base + "missing.wav", 10, start), FileRead::Missing);
  EXPECT_TRUE(start.empty());
  start = {9};
  EXPECT_EQ(ReadFileStart(base + "soundMofuran\\LeverOn4.WAV\\inside", 10, start), FileRead::Missing);
  EXPECT_EQ(ReadFileStart(base + "soundMofuran", 10, start), FileRead::NotAFile);
  EXPECT_TRUE(start.empty());
  ASSERT_TRUE(ChangeFolder(base + "soundMofuran"));
  EXPECT_TRUE(FileExists("LeverOn4.WAV"));
  std::filesystem::remove_all(dir);
}

TEST(GamePathTest, TheProgramsOwnFolderKeepsItsBackslashesAndAnyLeftoverUnderTheLockIsTakenOver) {
  const std::string dir =
      std::filesystem::temp_directory_path().string() + "/mofuran_a\\b_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir + "/soundMofuran");
  const std::string previous = CurrentFolder(), lock = dir + "/SaveFiles.lock", target = dir + "/target";
  OverrideProgramFolder(dir);
  EXPECT_TRUE(ChangeFolder(dir + "\\soundMofuran"));
  EXPECT_EQ(CurrentFolder(), dir + "/soundMofuran");
  EXPECT_EQ(NativePath(dir + "x\\y").find('\\'), std::string::npos);  // a longer name is another folder
  // Empty, garbage, another machine's, a dangling link, a link to a file, a folder, a pipe.
  const std::function<void()> leftovers[] = {
      [&] { WriteAllBytes(lock, {}); }, [&] { WriteAllBytes(lock, {0xFF, 0, 'x'}); },
      [&] { WriteAllBytes(lock, {'1', '\n', 'm', '\n', 'o', 't', 'h', '\n'}); },
      [&] { symlink((dir + "/nowhere").c_str(), lock.c_str()); }, [&] { symlink(target.c_str(), lock.c_str()); },
      [&] { std::filesystem::create_directories(lock + "/inside"); }, [&] { mkfifo(lock.c_str(), 0600); }};
  for (const auto& leave : leftovers) {
    ASSERT_TRUE(WriteAllBytes(target, {7}));
    leave();
    // Taken, a link's target never written, and the file gone with the lock.
    EXPECT_EQ(TakeFolderLock(dir, "SaveFiles.lock"), FolderLock::Taken);
    const std::string holder = std::to_string(::getpid()) + "\n";  // who holds it, and nothing left before
    EXPECT_EQ(ReadAllBytes(lock), Bytes(holder.begin(), holder.end()));
    ReleaseFolderLock();
    EXPECT_EQ(ReadAllBytes(target), Bytes{7});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(lock)));
  }
  EXPECT_EQ(TakeFolderLock(dir + "/missing", "SaveFiles.lock"), FolderLock::Unavailable);
  OverrideProgramFolder("");
  ChangeFolder(previous);
  std::filesystem::remove_all(dir);
}

TEST(ConvertTest, RoundingAndReadingBack) {
  for (auto [x, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {std::nan(""), 0}})
    EXPECT_EQ(RoundEven(x), rounded) << x;
  EXPECT_EQ(CInt(19.5f), 20);
  EXPECT_EQ(CInt(1e9), 32767);
  EXPECT_EQ(CLng(-1e30), INT32_MIN);
  for (auto [text, value] :
       {std::pair{"", 0.0}, {"  42 回", 42.0}, {"-7-", -7.0}, {"3e+38", 3e38}, {"12 回", 12.0}, {"abc", 0.0}})
    EXPECT_EQ(Val(text), value) << text;
  // 12345678 is too long for seven digits: written out in full.
  for (auto [x, text] : {std::pair{7.0f, "7"}, {19.5f, "19.5"}, {0.0f, "0"}, {12345678.0f, "12345678"}})
    EXPECT_EQ(SingleText(x), text) << x;
  EXPECT_EQ(RightChars("1111", 3), "111");
  EXPECT_EQ(RightChars("8", 3), "8");
  EXPECT_EQ(LeftChars("もこパパ", 2), "もこ");
  EXPECT_EQ(Trim("  名前  "), "名前");
}

}  // namespace
