// The sound folder's 55 files: exact names, format, the length each role needs, headroom, seamless loops,
// clean starts and ends, balanced loudness, and the pitch steps the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <string>

#include "asset_reader.h"

namespace {

using assets::Wav;

struct Role {
  std::string file;
  double minSeconds, maxSeconds;
  bool loop;
};

// Every sound with the length its use in the game allows. Loops play until stopped; the display's jingles match
// the presentation times (about 6 s for a match, 3 s for a strong reach, under 0.7 s for no reach).
const std::vector<Role>& Roles() {
  static const std::vector<Role> roles = [] {
    std::vector<Role> r = {
        {"LeverOn0.wav", 0.08, 0.4, false}, {"LeverOn1.wav", 0.4, 2.0, false},   {"LeverOn2.wav", 0.4, 2.2, false},
        {"LeverOn3.wav", 0.8, 3.0, false},  {"LeverOn4.WAV", 0.3, 1.0, false},   {"StSound1.wav", 0.05, 0.3, false},
        {"StSound2.wav", 0.05, 0.3, false}, {"StSound3.wav", 0.05, 0.3, false},  {"StSound4.wav", 0.2, 0.8, false},
        {"StSound5.wav", 0.1, 0.5, false},  {"StSound7.wav", 0.4, 2.5, false},   {"StSound7c.wav", 0.4, 2.5, false},
        {"StSound7e.wav", 0.4, 2.5, false}, {"StSound7ni.wav", 0.4, 2.5, false}, {"StSound75.wav", 0.4, 2.5, false},
        {"StSound8.wav", 0.1, 0.6, false},  {"StSoundSp.wav", 0.4, 2.0, false},  {"mc1.wav", 8, 20, true},
        {"mc2.wav", 8, 20, true},           {"pmc1.wav", 8, 20, true},           {"pmc2.wav", 8, 20, true},
        {"CD7Sound.wav", 3, 12, true},      {"degi4.wav", 0.5, 4, true},         {"Bell.wav", 0.5, 2.5, false},
        {"1Gren.wav", 2, 5, false},         {"f-piro.wav", 0.1, 0.5, false},     {"bubuu.wav", 0.4, 1.5, false},
        {"Boffu.wav", 0.1, 0.6, false},     {"error.wav", 0.2, 0.8, false},      {"mcbet.wav", 0.1, 0.5, false},
        {"Replay0.wav", 0.4, 2.5, false},   {"Replay1.wav", 0.4, 2.5, false},    {"Replay2.wav", 0.4, 2.5, false},
        {"degi0.wav", 5, 6.2, false},       {"degi1.wav", 0.1, 0.7, false},      {"degi2.wav", 0.5, 1.8, false},
        {"degi3.wav", 2.5, 3.2, false},
    };
    for (int i = 1; i <= 5; ++i) r.push_back({"Fanfare" + std::to_string(i) + ".wav", 2, 6, false});
    for (int i = 0; i <= 9; ++i) r.push_back({"fua" + std::to_string(i) + ".wav", 0.8, 3, false});
    for (int i = 1; i <= 3; ++i) r.push_back({"mame_" + std::to_string(i) + ".wav", 0.8, 2, false});
    return r;
  }();
  return roles;
}

// The files are large; each is read once for all the tests.
const Wav& Sound(const std::string& file) {
  static std::map<std::string, std::optional<Wav>> cache;
  auto it = cache.find(file);
  if (it == cache.end()) it = cache.emplace(file, assets::ReadWav(assets::SoundFile(file))).first;
  static const Wav none;
  return it->second ? *it->second : none;
}

std::vector<double> Mono(const Wav& w) {
  std::vector<double> m(w.samples.empty() ? 0 : w.samples[0].size());
  for (const auto& ch : w.samples)
    for (size_t i = 0; i < m.size(); ++i) m[i] += ch[i] / double(w.channels);
  return m;
}

// RMS of the loudest 0.4 s, in dBFS: how loud the sound is while it sounds.
double LoudnessDb(const Wav& w) {
  const std::vector<double> m = Mono(w);
  if (m.empty()) return -200;
  const size_t win = std::min(m.size(), size_t(0.4 * w.rate)), hop = size_t(0.05 * w.rate);
  std::vector<double> sum(m.size() + 1, 0.0);
  for (size_t i = 0; i < m.size(); ++i) sum[i + 1] = sum[i] + m[i] * m[i];
  double best = 0;
  for (size_t s = 0; s + win <= m.size(); s += hop) best = std::max(best, sum[s + win] - sum[s]);
  best = std::max(best, sum[m.size()] - sum[m.size() - win]);
  return 10 * std::log10(std::max(best / double(win), 1e-20));
}

// The semitone (MIDI number 48..108) with the most energy in [from, from + length) seconds, by Goertzel filters.
int StrongestSemitone(const Wav& w, double from, double length) {
  const std::vector<double> m = Mono(w);
  const size_t a = size_t(from * w.rate), b = std::min(m.size(), size_t((from + length) * w.rate));
  int best = 0;
  double bestPower = -1;
  for (int midi = 48; midi <= 108; ++midi) {
    const double f = 440 * std::pow(2.0, (midi - 69) / 12.0), c = 2 * std::cos(2 * std::numbers::pi * f / w.rate);
    double s1 = 0, s2 = 0;
    for (size_t i = a; i < b; ++i) {
      const double s = m[i] + c * s1 - s2;
      s2 = s1;
      s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    if (power > bestPower) bestPower = power, best = midi;
  }
  return best;
}

TEST(SoundFilesTest, TheFiftyFiveFilesExistUnderTheirExactNames) {
  ASSERT_EQ(Roles().size(), 55u);
  std::set<std::string> present;
  for (const auto& e : std::filesystem::directory_iterator(assets::OutputFolder() / "soundMofuran"))
    present.insert(e.path().filename().string());
  for (const Role& r : Roles()) EXPECT_TRUE(present.count(r.file)) << r.file << " (names are case-sensitive)";
}

TEST(SoundFilesTest, EverySoundIs16BitPcmOfItsRolesLength) {
  for (const Role& r : Roles()) {
    SCOPED_TRACE(r.file);
    ASSERT_TRUE(assets::ReadWav(assets::SoundFile(r.file))) << "not a 16-bit PCM WAV";
    const Wav& w = Sound(r.file);
    EXPECT_TRUE(w.rate == 44100 || w.rate == 22050) << w.rate;
    EXPECT_TRUE(w.channels == 1 || w.channels == 2) << w.channels;
    EXPECT_GE(w.Seconds(), r.minSeconds);
    EXPECT_LE(w.Seconds(), r.maxSeconds);
  }
}

TEST(SoundFilesTest, NoSoundClipsOrIsSilent) {
  const double ceiling = std::pow(10.0, -1.0 / 20);  // -1 dBFS
  for (const Role& r : Roles()) {
    const Wav& w = Sound(r.file);
    double peak = 0;
    for (const auto& ch : w.samples)
      for (double s : ch) peak = std::max(peak, std::abs(s));
    EXPECT_LE(peak, ceiling) << r.file;
    EXPECT_GT(LoudnessDb(w), -30) << r.file << " is nearly silent";
  }
}

TEST(SoundFilesTest, LoopsJoinSeamlesslyAndOneShotsStartAndEndQuietly) {
  for (const Role& r : Roles()) {
    SCOPED_TRACE(r.file);
    const Wav& w = Sound(r.file);
    for (const auto& ch : w.samples) {
      ASSERT_GT(ch.size(), 2u);
      if (r.loop) {
        double largestStep = 0;
        for (size_t i = 1; i < ch.size(); ++i) largestStep = std::max(largestStep, std::abs(ch[i] - ch[i - 1]));
        EXPECT_LE(std::abs(ch.front() - ch.back()), largestStep) << "the loop clicks where it joins";
      } else {
        EXPECT_LT(std::abs(ch.front()), 0.02) << "starts with a click";
        EXPECT_LT(std::abs(ch.back()), 0.02) << "is cut off at the end";
      }
    }
  }
}

TEST(SoundFilesTest, NoTwoFilesAreTheSame) {
  std::map<std::vector<double>, std::string> seen;
  for (const Role& r : Roles()) {
    const std::vector<double> m = Mono(Sound(r.file));
    const std::vector<double> head(m.begin(), m.begin() + std::min<long>(long(m.size()), 20000));
    auto [it, fresh] = seen.emplace(head, r.file);
    EXPECT_TRUE(fresh) << r.file << " repeats " << it->second;
  }
}

TEST(SoundLevelsTest, SoundsOfOneKindMatchAndMusicStandsAboveEffects) {
  const std::vector<std::vector<std::string>> kinds = {
      {"StSound1.wav", "StSound2.wav", "StSound3.wav", "StSound5.wav", "LeverOn0.wav", "mcbet.wav"},
      {"StSound7.wav", "StSound7c.wav", "StSound7e.wav", "StSound7ni.wav", "StSound75.wav"},
      {"mc1.wav", "mc2.wav", "pmc1.wav", "pmc2.wav", "Fanfare1.wav", "Fanfare2.wav", "Fanfare3.wav", "Fanfare4.wav",
       "Fanfare5.wav"},
      {"fua0.wav", "fua1.wav", "fua2.wav", "fua3.wav", "fua4.wav", "fua5.wav", "fua6.wav", "fua7.wav", "fua8.wav",
       "fua9.wav"},
      {"mame_1.wav", "mame_2.wav", "mame_3.wav", "Replay0.wav", "Replay1.wav"},
  };
  std::vector<double> medians;
  for (const auto& kind : kinds) {
    std::vector<double> levels;
    for (const std::string& f : kind) levels.push_back(LoudnessDb(Sound(f)));
    std::vector<double> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    for (size_t i = 0; i < kind.size(); ++i)
      EXPECT_NEAR(levels[i], median, 2.5) << kind[i] << " stands out of its kind";
    medians.push_back(median);
  }
  EXPECT_GT(medians[2], medians[0] + 3) << "the music should sit above the stops";
  EXPECT_GT(medians[2], medians[1] + 1) << "the music should sit above the reveal stops";
  EXPECT_GT(LoudnessDb(Sound("LeverOn2.wav")), LoudnessDb(Sound("LeverOn1.wav")) + 1.5)
      << "the second premonition chime is the stronger";
}

TEST(SoundPitchTest, CountUpTonesRiseStepByStep) {
  int last = 0;
  for (int i = 0; i <= 9; ++i) {
    const int semitone = StrongestSemitone(Sound("fua" + std::to_string(i) + ".wav"), 0.4, 0.4);
    EXPECT_GT(semitone, last) << "fua" << i << " is not above fua" << i - 1;
    last = semitone;
  }
}

TEST(SoundPitchTest, HigherAndLowerStopsAreHigherAndLower) {
  const int plain = StrongestSemitone(Sound("StSound1.wav"), 0, 0.05);
  EXPECT_GT(StrongestSemitone(Sound("StSound2.wav"), 0, 0.05), plain);
  EXPECT_LT(StrongestSemitone(Sound("StSound3.wav"), 0, 0.05), plain);
}

}  // namespace
