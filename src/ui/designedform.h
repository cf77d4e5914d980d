#pragma once

#include "toolbar.h"

class QWidget;

// What a window's Qt Designer form cannot say, put in by the window's code.
namespace ui {

// Builds the window's toolbar (as makeToolbar does) inside the form's placeholder for it, at the
// designed size of the placeholder; the placeholder grows with the toolbar when its buttons need
// more room than designed.
QToolBar* makeToolbarIn(QWidget* placeholder, const std::vector<ToolButton>& buttons, std::function<void(int)> onClick);

} // namespace ui
