// The two save files byte for byte, and the name in the Japanese code page.
#include <tuple>

#include "harness/harness.h"

namespace {

const Bytes kKnownVbdsnd = {
    0x00, 0x00, 0x7a, 0x44, 0x00, 0x00, 0x00, 0x00,  // ProxyContract 1000, ReservedItem 0
    0x00, 0x00, 0x10, 0x41, 0x00, 0x40, 0x4d, 0x44,  // PmcUpItem 9, SpectaclesGrade 821
    0x00, 0x40, 0x1c, 0x46, 0x00, 0x00, 0x20, 0x41,  // MembershipGames 10000, SpectaclesItem 10
    0x70, 0xf9, 0xdb, 0xdf, 0x02, 0x00, 0x00, 0x00,  // Savings 1,234,567 yen = 12,345,670,000 units
    0x00, 0x00, 0x40, 0x41, 0x00, 0x00, 0x40, 0x40,  // TotalMcCount 12, TotalPmcCount 3
    0x00, 0x80, 0xbb, 0x44, 0x00, 0x00, 0xe0, 0x40,  // BestMcGames 1500, BestChain 7
    0x00, 0x08, 0x87, 0x45, 0x00, 0x00, 0x7a, 0x43,  // BestCoins 4321, BestMcRun 250
    0x00, 0x00, 0x88, 0x41, 0x00, 0x00, 0xa0, 0x40,  // FanfareX5Item 17, FanfareTotal 5
    0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x10, 0x41,  // BankruptCount 2, FastPlayCoins 9
    0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x40, 0x41,  // FuaSpeed 3, DigitalSpeed 12
};

Bytes KnownDataFiles() {
  Bytes b(kKnownVbdsnd.begin() + 24, kKnownVbdsnd.begin() + 56);  // the savings and the six records, as above
  for (std::uint8_t x : {0x82, 0xe0, 0x82, 0xd3, 0x91, 0xbe, 0x98, 0x59}) b.push_back(x);  // も ふ 太 郎
  b.resize(b.size() + 26, ' ');  // 26 blanks make the 30 characters
  return b;
}

using SaveFormatTest = RecordsTest;

TEST_F(SaveFormatTest, BothFilesHoldTheKnownRecordByteForByte) {
  Record = KnownRecord();
  SaveShopData();
  EXPECT_EQ(ReadSaveFile(kVbdsnd), kKnownVbdsnd);
  EXPECT_EQ(ReadSaveFile(kDataFiles), KnownDataFiles());
  PlayerRecord back = DecodeVbdsnd(kKnownVbdsnd);
  back.Name = DecodeDataFiles(KnownDataFiles()).Name;
  EXPECT_TRUE(Same(back, KnownRecord()));
  EXPECT_EQ(back.Savings.units, 12345670000);
  EXPECT_TRUE(CopiesAgree(DecodeDataFiles(KnownDataFiles()), back));
}

TEST_F(SaveFormatTest, NamesComeBackExactlyAsWritten) {
  PlayerRecord r;
  for (const std::string name : {"もふ太郎", "ﾓﾌﾗﾝ", "kite07", "ａｂｃ～", "　全角空白",
                                 "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"}) {
    r.Name = FixedName(name);
    EXPECT_EQ(Trim(DecodeDataFiles(EncodeDataFiles(r)).Name), name) << name;
  }
  // Cut at 30 characters, blanks lost at both ends, and what the code page cannot hold stored as "?".
  EXPECT_EQ(FixedName("123456789012345678901234567890ABC"), "123456789012345678901234567890");
  EXPECT_EQ(Trim(FixedName("  もふ  ")), "もふ");
  r.Name = FixedName("もふ🐱Ä¥");
  EXPECT_EQ(Trim(DecodeDataFiles(EncodeDataFiles(r)).Name), "もふ???");
  // The wave dash of input methods outside Windows is kept as the code page's own, which looks the same.
  r.Name = FixedName("もふ〜");
  EXPECT_EQ(Trim(DecodeDataFiles(EncodeDataFiles(r)).Name), "もふ～");
}

TEST_F(SaveFormatTest, ShortFilesReadAsZerosAndABlankName) {
  EXPECT_EQ(EncodeVbdsnd(DecodeVbdsnd({})), Bytes(80, 0));
  // Cut inside the savings: what is there counts, the rest is zero.
  const PlayerRecord partial = DecodeVbdsnd(Bytes(kKnownVbdsnd.begin(), kKnownVbdsnd.begin() + 26));
  EXPECT_EQ(std::tie(partial.SpectaclesItem, partial.Savings.units, partial.TotalMcCount), std::tuple(10, 0xf970, 0));
  // A name cut inside a double-byte character, NUL bytes, or nothing at all.
  Bytes d = KnownDataFiles();
  d.resize(32 + 3);
  EXPECT_EQ(Trim(DecodeDataFiles(d).Name), "も?");
  d.resize(32);
  d.insert(d.end(), 30, 0);
  EXPECT_EQ(DecodeDataFiles(d).Name, std::string(30, ' '));
  EXPECT_EQ(DecodeDataFiles({}).Name, std::string(30, ' '));
  // Bytes the code page has no character for stand as "?" each, and what follows them still reads.
  d.resize(32);
  for (int b : {0x41, 0xFF, 0x42, 0x80, 0x80, 0x43}) d.push_back(static_cast<std::uint8_t>(b));  // A, B, C
  EXPECT_EQ(Trim(DecodeDataFiles(d).Name), "A?B??C");
  d.resize(32 + 2);
  d.push_back(0x44);  // D
  EXPECT_EQ(Trim(DecodeDataFiles(d).Name), "A?D");
}

}  // namespace
