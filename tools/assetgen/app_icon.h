// The program's icon for the desktop menu and the window frame: the mascot on a lit cabinet tile.
#pragma once
#include <QImage>

// A square icon of the given size in pixels, with a transparent corner outside its rounded tile.
QImage AppIcon(int size);
