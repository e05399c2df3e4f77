// Writers for the two file formats the game reads: 24-bit BMP pictures and 16-bit PCM WAV sounds.
#pragma once
#include <QImage>
#include <string>

#include "synth.h"

// Writes the picture as an uncompressed 24-bit BMP (bottom-up rows padded to four bytes). False on failure.
bool WriteBmp24(const QImage& image, const std::string& path);
// Writes the track as 16-bit PCM at 44.1 kHz: stereo when the track is stereo, else mono. False on failure.
bool WriteWav16(const synth::Track& track, const std::string& path);
// Creates the folder (and its parents) when it is missing; never removes anything in it.
bool EnsureFolder(const std::string& path);
