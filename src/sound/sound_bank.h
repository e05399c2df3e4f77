// The game's sounds: the bank of 41 buffers played by index or by file name, the folders they come from, and the
// single route for the lever and stop sounds.
#pragma once
#include <cstdint>
#include <string>

// The program's folder with a trailing backslash, as the game joins paths to it.
extern std::string AppFolder;

constexpr int kBankSize = 41;
// Buffer handles by index, 0 for none. Lives for the whole run.
extern std::int32_t SoundBank[kBankSize];
// The file of each bank entry, in index order.
extern const char* const BankFiles[kBankSize];
// The index of a bank file ("Bell.wav" is 1), or -1.
int BankIndex(const std::string& file);

// AppFolder from the program's own location (never from the shell's working folder).
void SetAppFolder();
// The sound folder, "soundMofuran" in the program's folder, as a game path.
std::string SoundFolder();
// Makes the sound folder the working folder, creating it when it is missing; false when that fails.
bool EnterSoundFolder();

// One buffer from a file in the working folder: 0 without a message when there is no such file; a warning
// box with the error's text and 0 when the file is empty or cannot be read.
std::int32_t LoadWave(const std::string& file, std::int32_t flag);
// Builds the bank: every entry in index order; a failed entry does not stop the others. The buffers of an
// earlier build are released first.
void SoundSet();
// At quit: every entry is freed, then the library is closed.
void ReleaseSoundBank();

// Bank sounds by their file name ("Bell.wav"): play once, play over and over, silence.
void PlayBankSound(const std::string& file);
void LoopBankSound(const std::string& file);
void StopBankSound(const std::string& file);

// The lever and stop sounds' route: plays the file at the path asynchronously; a new sound cuts off the one this
// route still plays.
void SndPlaySound(const std::string& path);
