#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The pictures of the shell, painted by the program itself.

// One of the launcher's five entries (twips): the label over the drawn name, and the line under it.
struct LauncherEntry {
    double left, top, width, height;
    double x1, x2, y;
    const char* name;
};
extern const LauncherEntry kLauncherEntries[5];

// The launcher panel's 800 x 530 picture: title band, a still life, the five entry names in
// brush lettering under their hot spots, and the maker line.
QPixmap launcherPicture();
// The login window's 367 x 192 background.
QPixmap loginBackground();
// The main window's 32 x 32 icon.
QIcon appIcon();
// The 32 x 32 cursor of the launcher's hot spots.
QCursor hotSpotCursor();
