// Writes the C++ source that builds the screens' own pictures into the program, as PNG bytes behind
// EmbeddedFile(name).
#pragma once
#include <string>
#include <vector>

#include "picture_set.h"

bool WriteEmbeddedSource(const std::vector<NamedPicture>& pictures, const std::string& path);
