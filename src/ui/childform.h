#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

namespace store {
class Error;
}

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
    // Each time the window becomes the active child window.
    virtual void Form_Activate() {}
    // Whether the window holds input the person typed and has not saved (a new entry begun, an
    // edit not saved, a pending row).
    virtual bool hasUnsavedInput() const { return false; }
    // True when nothing unsaved would be lost: nothing is unsaved, or the person agreed to give
    // it up when asked (once; Cancel is the default).
    bool mayDiscardInput();
    // Shows one record of table that a search found (its rowid and its values as read); false
    // when the window shows no such table or the record is no longer there.
    virtual bool showRecord(const QString& table, qint64 rowid, const QStringList& values) {
        Q_UNUSED(table)
        Q_UNUSED(rowid)
        Q_UNUSED(values)
        return false;
    }

protected:
    // On every resize of the window, its first showing included.
    virtual void Form_Resize() {}
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

    // The school's name for the window's title; empty, with the reason told, when it cannot be read.
    QString schoolName();
    // Runs action; a refusal of the store is reported (what was not done, and why), onError
    // then runs, and the result is false.
    bool attempt(const QString& what, const std::function<void()>& action,
                 const std::function<void(const store::Error&)>& onError = {});

signals:
    // The window's own back or exit command: unload it and show the launcher panel again.
    void backRequested();
    // The window wants to be unloaded and loaded afresh.
    void reloadRequested();
};

} // namespace ui
