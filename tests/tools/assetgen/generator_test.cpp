// Running the generator again: it must leave the player's save files in the sound folder alone, write the same
// files every time, and write headers that strict loaders accept.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "asset_reader.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::string& b, size_t at) {
  return std::uint32_t(static_cast<unsigned char>(b[at])) | std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 8 |
         std::uint32_t(static_cast<unsigned char>(b[at + 2])) << 16 |
         std::uint32_t(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint32_t U16(const std::string& b, size_t at) {
  return U32(b + std::string(2, '\0'), at) & 0xFFFF;
}

TEST(GeneratorTest, RerunKeepsSaveFilesAndWritesTheSameFiles) {
  const fs::path generator = assets::OutputFolder() / "tools" / "assetgen" / "assetgen";
  if (!fs::exists(generator)) GTEST_SKIP() << "no generator at " << generator;
  const fs::path out = fs::temp_directory_path() / ("assetgen_rerun_" + std::to_string(::getpid()));
  fs::remove_all(out);
  fs::create_directories(out / "soundMofuran");
  const std::string save = "the player's record, not a sound";
  for (const char* f : {"DataFiles", "VBDSND1.DLL"}) std::ofstream(out / "soundMofuran" / f, std::ios::binary) << save;

  const std::string cmd = "QT_QPA_PLATFORM=offscreen '" + generator.string() + "' '" + out.string() + "' '" +
                          (out / "embedded.cpp").string() + "' > /dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);

  for (const char* f : {"DataFiles", "VBDSND1.DLL"}) EXPECT_EQ(Slurp(out / "soundMofuran" / f), save) << f;
  size_t compared = 0;
  for (const char* folder : {"sozaiMofuran", "soundMofuran"})
    for (const auto& e : fs::directory_iterator(assets::OutputFolder() / folder)) {
      const fs::path again = out / folder / e.path().filename();
      const std::string name = e.path().filename().string();
      // The build folder's own save files and their leftovers are the player's, not the generator's.
      if (name.rfind("DataFiles", 0) == 0 || name.rfind("VBDSND1.DLL", 0) == 0 || name.rfind("SaveFiles", 0) == 0 ||
          !fs::exists(again))
        continue;
      EXPECT_EQ(Slurp(e.path()), Slurp(again)) << e.path().filename() << " differs between two runs";
      ++compared;
    }
  EXPECT_EQ(compared, 25u + 55u);
  EXPECT_NE(Slurp(out / "embedded.cpp").find("EmbeddedFile"), std::string::npos);
  fs::remove_all(out);
}

TEST(GeneratorTest, HeadersAreConsistent) {
  for (const auto& e : fs::directory_iterator(assets::OutputFolder() / "sozaiMofuran")) {
    const std::string b = Slurp(e.path());
    SCOPED_TRACE(e.path().filename().string());
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(U32(b, 2), b.size()) << "file size field";
    EXPECT_EQ(U16(b, 26), 1u) << "planes";
    const std::uint32_t w = U32(b, 18), h = U32(b, 22), stride = (w * 3 + 3) & ~3u;
    EXPECT_EQ(U32(b, 10) + stride * h, b.size()) << "pixel rows are padded to four bytes";
  }
  for (const auto& e : fs::directory_iterator(assets::OutputFolder() / "soundMofuran")) {
    const std::string name = e.path().filename().string();
    if (name.size() < 4 || (name.substr(name.size() - 4) != ".wav" && name.substr(name.size() - 4) != ".WAV")) continue;
    const std::string b = Slurp(e.path());
    SCOPED_TRACE(name);
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(U32(b, 4) + 8, b.size()) << "RIFF size";
    const std::uint32_t channels = U16(b, 22), rate = U32(b, 24);
    EXPECT_EQ(U32(b, 28), rate * channels * 2) << "byte rate";
    EXPECT_EQ(U16(b, 32), channels * 2) << "block align";
    EXPECT_EQ(U32(b, 40) + 44, b.size()) << "data size";
  }
}

}  // namespace
