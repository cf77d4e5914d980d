#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// The 16 x 16 toolbar pictures, painted by the program: "add", "save", "edit", "search",
// "delete", "first", "previous", "next", "last", "exit", "back", "settings", "browse", "enter",
// "modify", "lock".
QIcon toolIcon(const QString& kind);

} // namespace ui
