#pragma once

class QWidget;
class QMdiArea;
class QMdiSubWindow;

namespace ui {

// The sub-window of the main window's area that holds form, or nullptr.
QMdiSubWindow* subWindowOf(QWidget* form);

// Keeps a fixed-size child window at its designed outer size (twips) and centres it in the
// main window's client area.
void fixAndCentre(QWidget* form, double widthTwips, double heightTwips);
// The property in which a fixed-size child window keeps its designed size (twips).
inline constexpr char kFixedSizeProperty[] = "lumnoFixedSizeTwips";
// Centres every fixed-size child window again, when the main window's client area changes.
void recentreFixedWindows(QMdiArea* area);

// Centres child in its parent's client area, with an extra downward offset in twips.
void centreInParent(QWidget* child, double downTwips = 0);

} // namespace ui
