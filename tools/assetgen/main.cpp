// assetgen <output folder> <embedded source>: draws the game's pictures and synthesises its sounds.
// Writes <output>/sozaiMofuran/*.bmp, <output>/soundMofuran/*.wav, the desktop icons <output>/icons/*.png and the
// C++ source of the pictures built into the program. It only (over)writes its own files: the sound folder also keeps the player's save files.
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app_icon.h"
#include "embed_writer.h"
#include "file_writers.h"
#include "picture_set.h"
#include "sound_set.h"

namespace {

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: assetgen <output folder> <embedded source>\n");
    return 2;
  }
  const auto t0 = std::chrono::steady_clock::now();
  const std::string out = argv[1], embedded = argv[2];
  const std::string pictureFolder = out + "/sozaiMofuran", soundFolder = out + "/soundMofuran";
  if (!EnsureFolder(pictureFolder) || !EnsureFolder(soundFolder)) {
    std::fprintf(stderr, "assetgen: cannot create the folders under %s\n", out.c_str());
    return 1;
  }

  // The sounds need no Qt: worker threads synthesise and write them while the pictures are drawn here.
  std::vector<SoundMaker> makers;
  for (auto group : {LeverAndStopSounds, BonusSounds, PayoutSounds})
    for (SoundMaker& m : group()) makers.push_back(std::move(m));
  std::atomic<size_t> next{0};
  std::atomic<bool> soundsOk{true};
  std::vector<std::thread> workers;
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
  for (unsigned k = 0; k < threads; ++k)
    workers.emplace_back([&] {
      for (size_t i = next++; i < makers.size(); i = next++) {
        const SoundFile s = makers[i]();
        if (!WriteWav16(s.track, soundFolder + "/" + s.name)) soundsOk = false;
      }
    });

  QGuiApplication app(argc, argv);
  SetUpJapaneseFont();
  bool ok = true;
  for (const NamedPicture& pic : PictureFiles(Theme::Day))
    ok &= WriteBmp24(pic.image, pictureFolder + "/" + pic.name + ".bmp");
  ok &= WriteEmbeddedSource(BuiltInPictures(), embedded);
  // The desktop icon, in the sizes the icon theme installs.
  ok &= EnsureFolder(out + "/icons");
  for (int size : {48, 128, 256})
    ok &= AppIcon(size).save(QString::fromStdString(out + "/icons/mofuran-" + std::to_string(size) + ".png"), "PNG");
  const double pictureTime = Since(t0);

  for (std::thread& w : workers) w.join();
  ok &= soundsOk;
  if (!ok) {
    std::fprintf(stderr, "assetgen: writing a file failed\n");
    return 1;
  }
  std::printf("assetgen: pictures %.2f s, all %zu sounds and pictures %.2f s\n", pictureTime, makers.size(), Since(t0));
  return 0;
}
