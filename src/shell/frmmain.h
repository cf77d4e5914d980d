#pragma once

#include "window.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The main window: a multiple-document frame with the menu bar. Every other window of the
// program except the login is one of its child windows, each existing at most once.
class frmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmmain(QWidget* parent = nullptr);
    ~frmmain() override;

    static QString caption();

    // The account logged in.
    const QString& user() const { return m_user; }
    void setUser(const QString& name) { m_user = name; }

    QMdiArea* area() const { return m_area; }
    // A loaded child window, or nullptr.
    QWidget* child(WindowId window) const;
    // Creates the window if needed (running its loading) and brings it to the front.
    QWidget* loadAndShow(WindowId window);
    // Closes and discards the window; does nothing when it is not loaded.
    void unload(WindowId window);
    void hideLauncher();
    void showLauncher();
    // Opens the book of launcher entry n (1 to 5), as a press or click on its label asks.
    void launcherLabel(int n);

    // Menu commands.
    void schooolinfo_Click();
    void findrecords_Click();
    void cascade_Click();
    // Opens the window of a table's records on one record that a search found.
    void showRecord(const QString& table, qint64 rowid, const QStringList& values);
    void cahier_Click();
    void note_Click();
    void addlist_Click();
    void teacher_Click();
    void onduty_Click();
    void print_Click();
    void help_Click();
    void exit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void open(WindowId window);
    void buildMenus();
    void listWindows();
    void writePendingEdits();
    // Whether the window (every window) may be closed over its unsaved input: nothing
    // unsaved, or the person agreed when asked.
    bool mayDiscard(WindowId window);
    bool mayDiscardAll();
    void reloadBooks();
    void findShortcutFor(QWidget* form);

    QMdiArea* m_area;
    QMetaObject::Connection m_focusInView; // ended before the windows are destroyed
    QMenu* m_system;
    QList<QAction*> m_windowActions;
    QMap<WindowId, QPointer<QWidget>> m_children;
    QString m_user;
};
