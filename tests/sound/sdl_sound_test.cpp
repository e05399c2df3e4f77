// The SDL2_mixer back end under SDL's dummy driver: it opens at 44.1 kHz, every buffer has its own channel, the
// file route cuts itself off, and without a usable device it falls back to silent output.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness/scratch_folder.h"
#include "harness/wave_files.h"
#include "sound/sdl_sound.h"

namespace {

class SdlSoundTest : public ::testing::Test {
 protected:
  void TearDown() override { sound.Quit(); }
  std::int32_t Buffer(double seconds) {
    const Bytes wave = MakeWave(seconds);
    return sound.Create(wave.data(), wave.size(), 1, "");
  }
  SdlSound sound;
};

TEST_F(SdlSoundTest, OpensPlaysLoopsStopsAndCloses) {
  // SDL leaves Ctrl-C and kill as they were: the program still ends when asked to.
  const auto handler = [](int signal) {
    struct sigaction now {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
  };
  const auto interrupt = handler(SIGINT), terminate = handler(SIGTERM);
  ASSERT_NE(sound.Init(nullptr), 0);
  EXPECT_TRUE(sound.IsOpen());
  EXPECT_EQ(handler(SIGINT), interrupt);
  EXPECT_EQ(handler(SIGTERM), terminate);
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0);
  EXPECT_EQ(frequency, 44100);

  const std::int32_t music = Buffer(5), bell = Buffer(5);
  ASSERT_NE(music, 0);
  ASSERT_NE(bell, 0);
  EXPECT_NE(sound.ChannelOf(music), sound.ChannelOf(bell));
  EXPECT_NE(sound.ChannelOf(music), SdlSound::kRouteChannel);
  sound.PlayLooping(music);
  sound.Play(bell);
  EXPECT_TRUE(sound.Sounding(music));
  EXPECT_TRUE(sound.Sounding(bell));
  sound.Stop(music);
  EXPECT_FALSE(sound.Sounding(music));
  EXPECT_TRUE(sound.Sounding(bell));
  sound.Stop(music);  // harmless when silent

  // A freed buffer's channel goes to the next buffer; the freed handle does nothing any more.
  const int channel = sound.ChannelOf(bell);
  sound.Free(bell);
  EXPECT_FALSE(sound.Sounding(bell));
  sound.Play(bell);
  const std::int32_t next = Buffer(1);
  EXPECT_NE(next, bell);
  EXPECT_EQ(sound.ChannelOf(next), channel);

  // Bytes that are no sound make no buffer.
  const Bytes junk(100, 0x5a);
  EXPECT_EQ(sound.Create(junk.data(), junk.size(), 1, ""), 0);

  // The file route: a new sound cuts off the one it still plays; one that cannot be played silences it. The
  // bank's channels go on.
  ScratchFolder folder;
  WriteWave("LeverOn1.wav", 5);
  WriteWave("StSound2.wav", 5);
  sound.PlayLooping(music);
  sound.PlayFile(folder.Path() + "/LeverOn1.wav");
  ASSERT_TRUE(sound.RouteSounding());
  Mix_Chunk* lever = Mix_GetChunk(SdlSound::kRouteChannel);
  sound.PlayFile(folder.Path() + "/StSound2.wav");
  EXPECT_TRUE(sound.RouteSounding());
  EXPECT_NE(Mix_GetChunk(SdlSound::kRouteChannel), lever);
  sound.PlayFile(folder.Path() + "/NoSuchSound.wav");
  EXPECT_FALSE(sound.RouteSounding());
  EXPECT_TRUE(sound.Sounding(music));

  sound.Quit();
  EXPECT_FALSE(sound.IsOpen());
  EXPECT_FALSE(sound.Sounding(music));
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  // It opens again after a quit.
  EXPECT_NE(sound.Init(nullptr), 0);
}

TEST_F(SdlSoundTest, BuffersFromFilesSoundInFullWhateverTheHelperThreadHasDone) {
  ASSERT_NE(sound.Init(nullptr), 0);
  ScratchFolder folder;
  std::vector<std::int32_t> made;
  for (int i = 0; i < 12; ++i) {
    WriteWave("s" + std::to_string(i) + ".wav", 3);
    made.push_back(sound.CreateFromFile(folder.Path() + "/s" + std::to_string(i) + ".wav", 1, ""));
    ASSERT_NE(made.back(), 0);
  }
  // Played at once, freed while perhaps still waiting, or left to the helper: each is a whole, playable sound.
  sound.Play(made[11]);
  EXPECT_TRUE(sound.Sounding(made[11]));
  sound.Free(made[10]);
  sound.Free(made[0]);
  sound.FinishDecoding();
  EXPECT_EQ(sound.BufferCount(), 10u);
  const Bytes wave = MakeWave(3);
  const std::int32_t direct = sound.Create(wave.data(), wave.size(), 1, "");
  for (int i = 1; i < 10; ++i) {
    sound.Play(made[i]);
    ASSERT_TRUE(sound.Sounding(made[i])) << i;
    Mix_Chunk* chunk = Mix_GetChunk(sound.ChannelOf(made[i]));
    sound.Play(direct);
    ASSERT_EQ(chunk->alen, Mix_GetChunk(sound.ChannelOf(direct))->alen) << "a file decoded in part: " << i;
  }
  EXPECT_FALSE(sound.Sounding(made[10]));

  // A file that is no sound makes no buffer, and a missing one neither.
  WriteAllBytes("junk.wav", Bytes(100, 0x5a));
  EXPECT_EQ(sound.CreateFromFile(folder.Path() + "/junk.wav", 1, ""), 0);
  EXPECT_EQ(sound.CreateFromFile(folder.Path() + "/none.wav", 1, ""), 0);

  // Quit with files still waiting for the helper.
  WriteWave("late.wav", 3);
  EXPECT_NE(sound.CreateFromFile(folder.Path() + "/late.wav", 1, ""), 0);
  sound.Quit();
  EXPECT_FALSE(sound.IsOpen());
}

TEST(SdlSoundFallback, WithoutAUsableDeviceInitStillSucceedsSilently) {
  const char* was = std::getenv("SDL_AUDIODRIVER");
  const std::string previous = was ? was : "";
  setenv("SDL_AUDIODRIVER", "no-such-audio-device", 1);
  {
    SdlSound sound;
    EXPECT_NE(sound.Init(nullptr), 0);
    EXPECT_EQ(sound.Driver(), "dummy");
    const Bytes wave = MakeWave(1);
    const std::int32_t b = sound.Create(wave.data(), wave.size(), 1, "");
    EXPECT_NE(b, 0);
    sound.Play(b);
    EXPECT_TRUE(sound.Sounding(b));
  }
  if (was)
    setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
