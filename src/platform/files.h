// Files as the game names them: paths keep the backslashes of the game's strings ("soundMofuran\StSound2.wav")
// and are turned into this platform's form here. Names are looked up exactly as written.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The platform's form of a game path: backslashes become the separator.
std::string NativePath(const std::string& gamePath);
// The folder holding the running program, found from the program itself, without a trailing separator.
std::string ProgramFolder();
// Makes ProgramFolder() answer another folder (the simulator keeps its pictures, sounds and save files apart).
void OverrideProgramFolder(const std::string& folder);
// The working folder, against which relative game paths are resolved.
bool ChangeFolder(const std::string& gamePath);
std::string CurrentFolder();

bool FileExists(const std::string& gamePath);
// The whole file; nothing when it cannot be opened or read.
std::optional<Bytes> ReadAllBytes(const std::string& gamePath);

// What a bounded read found.
enum class FileRead { Read, Missing, NotAFile, Unreadable };
// At most `limit` bytes from the start of a regular file, into `out` (emptied first). Anything else there (a
// folder, a FIFO, a device, a link to one of them) is NotAFile and is never opened for reading, so the read
// neither blocks nor grows without end.
FileRead ReadFileStart(const std::string& gamePath, std::size_t limit, Bytes& out);
// Writes the whole file; false when it cannot be written completely.
bool WriteAllBytes(const std::string& gamePath, const Bytes& bytes);
