#pragma once

#include <QWidget>

namespace ui {

// A child window of the main window. It never reaches into the main window: it says what it
// wants, and the main window decides what shows.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Writes what the person typed and the window has not written yet, reporting a refusal;
    // called before the program ends.
    virtual void writePending() {}

protected:
    // The school's name for the window's title; empty, with the reason told, when it cannot be read.
    QString schoolName();

signals:
    // The window's own back or exit command: unload it and show the launcher panel again.
    void backRequested();
    // The window wants to be unloaded and loaded afresh.
    void reloadRequested();
};

} // namespace ui
