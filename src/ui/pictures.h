#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures: PNG files in data/pictures/, compiled in from data/pictures.qrc.
namespace ui {

// Makes the pictures available under ":/pictures/"; every function below does it first. A form
// that names a picture of its own calls it before its setupUi.
void loadPictures();

// A picture by its file name under data/pictures/ ("launcher.png", "login.png", "hotspot.png").
QPixmap picture(const QString& name);

// The 16 x 16 toolbar pictures (with their 32 x 32 versions for high-density screens): "add",
// "save", "edit", "search", "delete", "first", "previous", "next", "last", "exit", "back",
// "settings", "browse", "enter", "modify", "lock".
QIcon toolIcon(const QString& kind);

// The program's icon, in the sizes from 16 x 16 to 256 x 256: the drawing of
// packaging/org.lumno.Lumno.svg, which the desktop's menu shows too.
QIcon appIcon();

} // namespace ui
