// Every picture of the game, by name: the 25 files of the picture folder and the pictures built into the machine
// screen.
#pragma once
#include <QImage>
#include <string>
#include <vector>

#include "paint_kit.h"

struct NamedPicture {
  std::string name;  // a file name without ".bmp", or an embedded name such as "Form2.Picture4"
  QImage image;
};

// The 25 picture files in the given look.
std::vector<NamedPicture> PictureFiles(Theme theme);
// The machine screen's own pictures: the plain strips, the lit and unlit reel windows, the digit strip, the
// portraits, and the night look of the 25 files in the picture boxes those files are loaded into.
std::vector<NamedPicture> BuiltInPictures();
