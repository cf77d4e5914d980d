#pragma once

namespace ui {

// Loads Qt's own Chinese texts (context menus, system menus, standard dialogs): qtbase_zh_CN.qm
// from a "translations" folder beside the program, or else from Qt's translations folder.
// Call once at start-up, before the first window; returns false when no translation was found.
bool installQtTranslation();

} // namespace ui
