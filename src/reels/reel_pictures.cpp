#include "machine/machine_screen.h"
#include "machine/player_record.h"
#include "reels/reels.h"
#include "sound/sound_bank.h"

namespace {

struct PictureFile {
  const char* file;
  PictureBox MachineScreen::*box;
};

// The symbol, strip, cabinet and lamp pictures in the order they are read.
const PictureFile kPictureFiles[] = {
    {"nana-ura.bmp", &MachineScreen::Picture7},    {"cherry-Ura.bmp", &MachineScreen::Picture11},
    {"cherry-1.bmp", &MachineScreen::Picture12},   {"cherry-2.bmp", &MachineScreen::Picture23},
    {"replay-Ura.bmp", &MachineScreen::Picture15}, {"doram6.bmp", &MachineScreen::Picture26},
    {"doram5.bmp", &MachineScreen::Picture27},     {"doram4.bmp", &MachineScreen::Picture28},
    {"Kyoutai.bmp", &MachineScreen::Picture0},     {"betb.bmp", &MachineScreen::Picture5},
    {"nana-1.bmp", &MachineScreen::Picture8},      {"nana-2.bmp", &MachineScreen::Picture17},
    {"nana-5.bmp", &MachineScreen::Picture21},     {"Mofuran-1.bmp", &MachineScreen::Picture10},
    {"Mofuran-2.bmp", &MachineScreen::Picture18},  {"Mofuran-3.bmp", &MachineScreen::Picture24},
    {"Mofuran-Ura.bmp", &MachineScreen::Picture9}, {"mame-1.bmp", &MachineScreen::Picture14},
    {"mame-2.bmp", &MachineScreen::Picture19},     {"mame-3.bmp", &MachineScreen::Picture22},
    {"mame-Ura.bmp", &MachineScreen::Picture13},   {"replay-1.bmp", &MachineScreen::Picture16},
    {"replay-2.bmp", &MachineScreen::Picture20},   {"replay-3.bmp", &MachineScreen::Picture25},
    {"Mogera.bmp", &MachineScreen::Picture29},
};

}  // namespace

void LoadMachinePictures() {
  // Files 9 to 25 give way to the screen's own night pictures for a player bankrupt more than 19 times or
  // wearing the upgraded spectacles.
  const bool allFiles = !(Record.BankruptCount > 19) && Record.SpectaclesGrade != ItemCodes::UpgradeInUse;
  const int count = allFiles ? 25 : 8;
  for (int i = 0; i < count; ++i) {
    // A missing or unreadable file leaves the box with its built-in picture; the day goes on.
    (Form2.*kPictureFiles[i].box).LoadPicture(AppFolder + "sozaiMofuran\\" + kPictureFiles[i].file);
  }
}
