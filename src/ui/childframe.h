#pragma once

#include <QMetaObject>

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

// Keeps a child window's title bar inside the main window's area: a window moved past an edge
// is put back, as far as it fits (a window larger than the area may lie across its edges, as
// the area's scroll bars move it, and the area shows scroll bars for it from its first showing).
void keepTitleBarInside(QMdiSubWindow* sub);
// Moves a child window fully into view in its area (its top left corner, when it is larger).
void bringIntoView(QMdiSubWindow* sub);
// Scrolls the area, when a child window is larger than it, so that the control that receives
// the keyboard focus comes into view (its top left part, when it is larger than the area). The
// owner ends the returned connection in its destructor: the focus moves while the area's windows
// are destroyed, when the area itself is already half gone.
QMetaObject::Connection keepFocusInView(QMdiArea* area);

// Centres child in its parent's client area, with an extra downward offset in twips.
void centreInParent(QWidget* child, double downTwips = 0);

} // namespace ui
