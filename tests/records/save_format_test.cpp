// The two save files byte for byte, and the name in the Japanese code page.
#include "records_fixture.h"

namespace {

const Bytes kKnownVbdsnd = {
    0x00, 0x00, 0x7a, 0x44,  // ProxyContract 1000
    0x00, 0x00, 0x00, 0x00,  // ReservedItem 0
    0x00, 0x00, 0x10, 0x41,  // PmcUpItem 9
    0x00, 0x40, 0x4d, 0x44,  // SpectaclesGrade 821
    0x00, 0x40, 0x1c, 0x46,  // MembershipGames 10000
    0x00, 0x00, 0x20, 0x41,  // SpectaclesItem 10
    0x70, 0xf9, 0xdb, 0xdf, 0x02, 0x00, 0x00, 0x00,  // Savings 1,234,567 yen = 12,345,670,000 units
    0x00, 0x00, 0x40, 0x41,  // TotalMcCount 12
    0x00, 0x00, 0x40, 0x40,  // TotalPmcCount 3
    0x00, 0x80, 0xbb, 0x44,  // BestMcGames 1500
    0x00, 0x00, 0xe0, 0x40,  // BestChain 7
    0x00, 0x08, 0x87, 0x45,  // BestCoins 4321
    0x00, 0x00, 0x7a, 0x43,  // BestMcRun 250
    0x00, 0x00, 0x88, 0x41,  // FanfareX5Item 17
    0x00, 0x00, 0xa0, 0x40,  // FanfareTotal 5
    0x00, 0x00, 0x00, 0x40,  // BankruptCount 2
    0x00, 0x00, 0x10, 0x41,  // FastPlayCoins 9
    0x00, 0x00, 0x40, 0x40,  // FuaSpeed 3
    0x00, 0x00, 0x40, 0x41,  // DigitalSpeed 12
};

Bytes KnownDataFiles() {
  Bytes b = {
      0x70, 0xf9, 0xdb, 0xdf, 0x02, 0x00, 0x00, 0x00,                          // Savings
      0x00, 0x00, 0x40, 0x41, 0x00, 0x00, 0x40, 0x40, 0x00, 0x80, 0xbb, 0x44,  // 12, 3, 1500
      0x00, 0x00, 0xe0, 0x40, 0x00, 0x08, 0x87, 0x45, 0x00, 0x00, 0x7a, 0x43,  // 7, 4321, 250
      0x82, 0xe0, 0x82, 0xd3, 0x91, 0xbe, 0x98, 0x59,                          // も ふ 太 郎
  };
  b.insert(b.end(), 26, ' ');  // 26 blanks make the 30 characters
  return b;
}

class SaveFormatTest : public RecordsTest {};

TEST_F(SaveFormatTest, BothFilesHoldTheKnownRecordByteForByte) {
  Record = KnownRecord();
  SaveShopData();
  EXPECT_EQ(ReadSaveFile(kVbdsnd), kKnownVbdsnd);
  EXPECT_EQ(ReadSaveFile(kDataFiles), KnownDataFiles());

  const PlayerRecord back = DecodeVbdsnd(kKnownVbdsnd);
  EXPECT_EQ(back.Savings.units, 12345670000);
  EXPECT_EQ(back.ProxyContract, 1000);
  EXPECT_EQ(back.SpectaclesItem, 10);
  EXPECT_EQ(back.BestMcRun, 250);
  EXPECT_EQ(back.FanfareX5Item, 17);
  EXPECT_EQ(back.DigitalSpeed, 12);
  const DataFilesCopy copy = DecodeDataFiles(KnownDataFiles());
  EXPECT_TRUE(CopiesAgree(copy, back));
  EXPECT_EQ(copy.Name, FixedName("もふ太郎"));
}

TEST_F(SaveFormatTest, NamesComeBackExactlyAsWritten) {
  for (const std::string name : {"もふ太郎", "ﾓﾌﾗﾝ", "kite07", "ａｂｃ～", "　全角空白", "ぽてまるん",
                                 "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"}) {
    PlayerRecord r = KnownRecord();
    r.Name = FixedName(name);
    const Bytes bytes = EncodeDataFiles(r);
    EXPECT_EQ(DecodeDataFiles(bytes).Name, r.Name) << name;
    EXPECT_EQ(Trim(DecodeDataFiles(bytes).Name), name) << name;
  }
  // Cut at 30 characters, blanks lost at both ends, and what the code page cannot hold stored as "?".
  EXPECT_EQ(FixedName("123456789012345678901234567890ABC"), "123456789012345678901234567890");
  EXPECT_EQ(Trim(FixedName("  もふ  ")), "もふ");
  PlayerRecord r;
  r.Name = FixedName("もふ🐱Ä¥");
  EXPECT_EQ(Trim(DecodeDataFiles(EncodeDataFiles(r)).Name), "もふ???");
  // The wave dash of input methods outside Windows is kept as the code page's own, which looks the same.
  r.Name = FixedName("もふ〜");
  EXPECT_EQ(Trim(DecodeDataFiles(EncodeDataFiles(r)).Name), "もふ～");
}

TEST_F(SaveFormatTest, ShortFilesReadAsZerosAndABlankName) {
  const PlayerRecord none = DecodeVbdsnd({});
  EXPECT_EQ(EncodeVbdsnd(none), Bytes(80, 0));
  // Cut inside the savings of "VBDSND1.DLL": what is there counts, the rest is zero.
  const Bytes cut(kKnownVbdsnd.begin(), kKnownVbdsnd.begin() + 26);
  const PlayerRecord partial = DecodeVbdsnd(cut);
  EXPECT_EQ(partial.SpectaclesItem, 10);
  EXPECT_EQ(partial.Savings.units, 0xf970);
  EXPECT_EQ(partial.TotalMcCount, 0);
  // A name cut inside a double-byte character, NUL bytes, or nothing at all.
  Bytes d = KnownDataFiles();
  d.resize(32 + 3);
  EXPECT_EQ(Trim(DecodeDataFiles(d).Name), "も?");
  d.resize(32);
  d.insert(d.end(), 30, 0);
  EXPECT_EQ(DecodeDataFiles(d).Name, std::string(30, ' '));
  EXPECT_EQ(DecodeDataFiles({}).Name, std::string(30, ' '));
}

}  // namespace
