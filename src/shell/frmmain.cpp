#include "frmmain.h"

#include "frmbg.h"
#include "frmhelp.h"

#include <admin/frmsystem.h>
#include <books/frmaddlist.h>
#include <books/frmcahier.h>
#include <books/frmfind.h>
#include <books/frmnote.h>
#include <books/frmonduty.h>
#include <books/frmreport.h>
#include <books/frmteacher.h>
#include <store/catalogue.h>
#include <ui/childform.h>
#include <ui/childframe.h>
#include <ui/pictures.h>
#include <ui/twips.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include <optional>

namespace {

// How the frame opens each of its child windows: the one place that tells them apart.
struct ChildWindow {
    // Opens maximised, or at the window's own size (the fixed windows keep theirs).
    enum Size { Maximised, OwnSize };
    // No title bar (the launcher), a title bar without the control box, or the ordinary one.
    enum Frame { Frameless, NoControlBox, ControlBox };
    // The window's loading hides the launcher panel; HidesLauncher: its menu command hides it
    // too when the window is already loaded.
    enum Launcher { KeepsLauncher, HidesLauncherOnLoad, HidesLauncher };
    // One of the two theme books (minutes, events), or a window whose menu command closes them first.
    enum Twins { LeavesTwins, TwinBook, ClosesTwins };
    WindowId id;
    ui::ChildForm* (*make)(frmmain* frame);
    Size size;
    Frame frame;
    Launcher launcher;
    Twins twins;
};

template <class Form> ui::ChildForm* make(frmmain*) { return new Form; }

ui::ChildForm* makeLauncher(frmmain* frame) {
    auto* bg = new Frmbg;
    QObject::connect(bg, &Frmbg::labelOpens, frame, &frmmain::launcherLabel);
    return bg;
}

ui::ChildForm* makeFinder(frmmain* frame) {
    auto* find = new Frmfind;
    QObject::connect(find, &Frmfind::recordChosen, frame, &frmmain::showRecord);
    return find;
}

using W = ChildWindow;
const ChildWindow kWindows[] = {
    {WindowId::Frmbg, makeLauncher, W::Maximised, W::Frameless, W::KeepsLauncher, W::LeavesTwins},
    {WindowId::Frmhelp, make<Frmhelp>, W::Maximised, W::ControlBox, W::KeepsLauncher, W::LeavesTwins},
    {WindowId::Frmcahier, make<Frmcahier>, W::Maximised, W::NoControlBox, W::HidesLauncherOnLoad, W::TwinBook},
    {WindowId::Frmnote, make<Frmnote>, W::Maximised, W::NoControlBox, W::HidesLauncherOnLoad, W::TwinBook},
    {WindowId::Frmaddlist, make<Frmaddlist>, W::OwnSize, W::NoControlBox, W::HidesLauncher, W::ClosesTwins},
    {WindowId::frmteacher, make<frmteacher>, W::OwnSize, W::NoControlBox, W::HidesLauncher, W::ClosesTwins},
    {WindowId::Frmonduty, make<Frmonduty>, W::OwnSize, W::NoControlBox, W::HidesLauncherOnLoad, W::ClosesTwins},
    {WindowId::Frmreport, make<Frmreport>, W::Maximised, W::NoControlBox, W::HidesLauncher, W::LeavesTwins},
    {WindowId::Frmsystem, make<Frmsystem>, W::OwnSize, W::NoControlBox, W::HidesLauncherOnLoad, W::LeavesTwins},
    {WindowId::Frmfind, makeFinder, W::OwnSize, W::ControlBox, W::KeepsLauncher, W::LeavesTwins},
};
constexpr WindowId kLauncher = WindowId::Frmbg;

// The window that shows the records of each table a search goes through.
const struct {
    const char* table;
    WindowId window;
} kRecordWindows[] = {{"tabaddlist", WindowId::Frmaddlist},
                      {"tabonduty", WindowId::Frmonduty},
                      {"tabcahier", WindowId::Frmcahier},
                      {"tabnote", WindowId::Frmnote},
                      {"tabkaoqin", WindowId::frmteacher}};

const ChildWindow& childWindow(WindowId id) {
    for (const ChildWindow& w : kWindows)
        if (w.id == id) return w;
    Q_UNREACHABLE(); // kWindows describes every WindowId
}

} // namespace

frmmain::frmmain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmmain");
    setWindowTitle(caption());
    setWindowIcon(ui::appIcon());
    m_area = new QMdiArea(this);
    m_area->setObjectName("mdiArea");
    m_area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    m_area->setBackground(QColor(128, 128, 128));
    // A fixed window larger than the area (a small screen, a large scale) scrolls into reach.
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_area);
    m_focusInView = ui::keepFocusInView(m_area); // and the control the keyboard reaches comes into view
    m_area->viewport()->installEventFilter(this);
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        auto* form = qobject_cast<ui::ChildForm*>(sub ? sub->widget() : nullptr);
        if (form) form->Form_Activate();
        findShortcutFor(form);
    });
    buildMenus();
    resize(ui::twips(11880), ui::twips(8010) + menuBar()->sizeHint().height());
    // MDIForm_Load: the launcher panel fills the frame between tasks.
    loadAndShow(kLauncher);
}

frmmain::~frmmain() { QObject::disconnect(m_focusInView); }

// The fixed-size windows stay centred in the client area whatever the main window's size.
// The hidden launcher too fills the area as it is now: Qt resizes only the shown maximised windows.
bool frmmain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_area->viewport() && event->type() == QEvent::Resize) {
        ui::recentreFixedWindows(m_area);
        QMdiSubWindow* launcher = ui::subWindowOf(child(kLauncher));
        if (launcher && launcher->isHidden() && launcher->isMaximized())
            launcher->setGeometry(m_area->viewport()->rect());
    }
    return QMainWindow::eventFilter(watched, event);
}

QString frmmain::caption() { return QStringLiteral("欢迎使用Lumno校务管理软件　　V1.0    (Lumno 开发组）"); }

QWidget* frmmain::child(WindowId window) const { return m_children.value(window).data(); }

QWidget* frmmain::loadAndShow(WindowId id) {
    if (QWidget* loaded = child(id)) {
        QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(loaded->parentWidget());
        if (sub) {
            // Qt does not resize a hidden maximised window with the area: fill the area as it is now.
            if (sub->isMaximized()) sub->setGeometry(m_area->viewport()->rect());
            sub->show();
            m_area->setActiveSubWindow(sub);
            sub->raise();
            ui::bringIntoView(sub);
        }
        return loaded;
    }
    const ChildWindow* window = &childWindow(id);
    if (window->launcher != W::KeepsLauncher) hideLauncher();
    ui::ChildForm* form = window->make(this);
    connect(form, &ui::ChildForm::backRequested, this, [this, id] {
        unload(id);
        showLauncher();
    });
    // Reloading happens after the handler that asked for it has returned.
    connect(
        form, &ui::ChildForm::reloadRequested, this,
        [this, id] {
            unload(id);
            loadAndShow(id);
        },
        Qt::QueuedConnection);
    Qt::WindowFlags flags = Qt::SubWindow;
    if (window->frame == W::Frameless)
        flags |= Qt::FramelessWindowHint;
    else if (window->frame == W::NoControlBox)
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    QMdiSubWindow* sub = m_area->addSubWindow(form, flags);
    if (window->frame != W::ControlBox) sub->setSystemMenu(nullptr); // no control box, so no system menu either
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (window->frame != W::Frameless) ui::keepTitleBarInside(sub);
    sub->setWindowTitle(form->windowTitle());
    sub->setWindowIcon(ui::appIcon());
    m_children[id] = form;
    if (window->size == W::Maximised)
        sub->showMaximized();
    else
        sub->show();
    m_area->setActiveSubWindow(sub);
    return form;
}

// A menu command's opening: the theme books closed first and the launcher hidden where the
// window says so.
void frmmain::open(WindowId id) {
    const ChildWindow& window = childWindow(id);
    if (window.twins == W::ClosesTwins) {
        for (const ChildWindow& twin : kWindows)
            if (twin.twins == W::TwinBook && !mayDiscard(twin.id)) return;
        for (const ChildWindow& twin : kWindows)
            if (twin.twins == W::TwinBook) unload(twin.id);
    }
    if (window.launcher == W::HidesLauncher) hideLauncher();
    loadAndShow(id);
}

void frmmain::unload(WindowId window) {
    QPointer<QWidget> form = m_children.take(window);
    if (!form) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        sub->hide();
        m_area->removeSubWindow(sub);
        sub->deleteLater();
    } else {
        form->deleteLater();
    }
}

void frmmain::hideLauncher() {
    QWidget* bg = child(kLauncher);
    if (!bg) bg = loadAndShow(kLauncher);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(bg->parentWidget())) sub->hide();
}

void frmmain::showLauncher() { loadAndShow(kLauncher); }

void frmmain::launcherLabel(int n) {
    if (n < 1 || n > 5) return;
    const LauncherEntry& entry = kLauncherEntries[n - 1];
    if (entry.panel == LauncherEntry::Unloaded) unload(kLauncher);
    if (entry.panel == LauncherEntry::Hidden) hideLauncher();
    loadAndShow(entry.target);
}

void frmmain::schooolinfo_Click() { open(WindowId::Frmsystem); }
void frmmain::findrecords_Click() { open(WindowId::Frmfind); }

// The shown child windows one below the other; the launcher stays the filling panel behind them.
void frmmain::cascade_Click() {
    QMdiSubWindow* launcher = ui::subWindowOf(child(kLauncher));
    const bool shown = launcher && launcher->isVisible();
    if (shown) launcher->hide();
    m_area->cascadeSubWindows();
    if (!shown) return;
    launcher->showMaximized();
    launcher->lower();
}

// Ctrl+F opens the search, except in a window whose own command it is (a book's 查寻).
void frmmain::findShortcutFor(QWidget* form) {
    bool own = false;
    if (form)
        for (const QAction* a : form->findChildren<QAction*>())
            own = own || a->shortcuts().contains(QKeySequence(QKeySequence::Find));
    if (QAction* find = m_system->findChild<QAction*>("findrecords", Qt::FindDirectChildrenOnly))
        find->setShortcut(own ? QKeySequence() : QKeySequence(QKeySequence::Find));
}

// A record a search found, shown in the window of its book.
void frmmain::showRecord(const QString& table, qint64 rowid, const QStringList& values) {
    for (const auto& r : kRecordWindows) {
        if (table != QLatin1String(r.table)) continue;
        open(r.window);
        if (auto* form = qobject_cast<ui::ChildForm*>(child(r.window))) form->showRecord(table, rowid, values);
        return;
    }
}
void frmmain::cahier_Click() { open(WindowId::Frmcahier); }
void frmmain::note_Click() { open(WindowId::Frmnote); }
void frmmain::addlist_Click() { open(WindowId::Frmaddlist); }
void frmmain::teacher_Click() { open(WindowId::frmteacher); }
void frmmain::onduty_Click() { open(WindowId::Frmonduty); }
void frmmain::print_Click() { open(WindowId::Frmreport); }
void frmmain::help_Click() { open(WindowId::Frmhelp); }

// The program ends; what a window holds unwritten is written first, and typed input that could
// not be saved is given up only when the person agrees.
void frmmain::exit_Click() {
    writePendingEdits();
    if (!mayDiscardAll()) return;
    QCoreApplication::exit(0);
}

void frmmain::closeEvent(QCloseEvent* event) {
    writePendingEdits();
    if (!mayDiscardAll()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool frmmain::mayDiscard(WindowId window) {
    auto* form = qobject_cast<ui::ChildForm*>(child(window));
    return !form || form->mayDiscardInput();
}

bool frmmain::mayDiscardAll() {
    for (WindowId window : m_children.keys())
        if (!mayDiscard(window)) return false;
    return true;
}

// Every open book window (the twins and the windows that close them) loaded afresh, as its own
// reload does; a window holding unsaved input only when the person gives it up. The launcher, the
// help and the school's details are left as they are. The active window stays in front.
void frmmain::reloadBooks() {
    QMdiSubWindow* active = m_area->activeSubWindow();
    std::optional<WindowId> front;
    for (WindowId id : m_children.keys()) {
        QWidget* form = child(id);
        if (!form || childWindow(id).twins == W::LeavesTwins) continue;
        if (active && form->parentWidget() == active) front = id;
        if (!mayDiscard(id)) continue;
        unload(id);
        loadAndShow(id);
    }
    if (front) loadAndShow(*front);
}

void frmmain::writePendingEdits() {
    for (const QPointer<QWidget>& w : std::as_const(m_children))
        if (auto* form = qobject_cast<ui::ChildForm*>(w.data())) form->writePending();
}
