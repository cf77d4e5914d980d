#pragma once

#include "toolbar.h"

#include <initializer_list>

class QWidget;

// What a window's Qt Designer form cannot say, put in by the window's code.
namespace ui {

// A point size with a fraction (14.25, 10.5, 15.75) for the widgets' fonts: Qt's uic writes whole
// points only, so the forms hold the whole part and the window sets the designed size here.
// Family, weight and slant stay as the form has them.
void setPointSize(double points, std::initializer_list<QWidget*> widgets);

// Builds the window's toolbar (as makeToolbar does) inside the form's placeholder for it, at the
// designed size of the placeholder; the placeholder grows with the toolbar when its buttons need
// more room than designed.
QToolBar* makeToolbarIn(QWidget* placeholder, const std::vector<ToolButton>& buttons, std::function<void(int)> onClick);

} // namespace ui
