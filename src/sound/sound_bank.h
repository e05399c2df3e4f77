// The game's sounds: the bank of 41 buffers played by file name, and the single route for lever and stop sounds.
#pragma once
#include <string>

// The program's folder with a trailing backslash, as the game joins paths to it.
extern std::string AppFolder;

// Bank sounds by their file name ("Bell.wav"): play once, play over and over, silence.
void PlayBankSound(const std::string& file);
void LoopBankSound(const std::string& file);
void StopBankSound(const std::string& file);

// The lever and stop sounds' route: plays the file at the path asynchronously; a new sound cuts off the one this
// route still plays.
void SndPlaySound(const std::string& path);
