// The main window's menus: "系统设定" with its commands and the list of open windows, and the
// menu bar's commands that open the books.
#include "frmmain.h"

#include <admin/backups.h>
#include <admin/emptying.h>
#include <admin/frmpassword.h>
#include <admin/frmrecycle.h>
#include <admin/frmusers.h>
#include <admin/importdata.h>
#include <store/catalogue.h>
#include <ui/childframe.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>

void frmmain::buildMenus() {
    QMenuBar* bar = menuBar();
    m_system = bar->addMenu(QStringLiteral("系统设定"));
    m_system->menuAction()->setObjectName("system");
    // A command that wrote to a book (an emptying, a restore, an import) leaves no window showing
    // records that are gone: the open windows read their books again.
    auto item = [this](const char* name, const QString& text, void (*run)(frmmain*)) {
        QAction* a = m_system->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, run] {
            const QByteArray before = store::booksState();
            run(this);
            if (store::booksState() != before) reloadBooks();
        });
    };
    item("findrecords", QStringLiteral("查找记录…"), [](frmmain* m) { m->findrecords_Click(); });
    m_system->actions().constLast()->setShortcut(QKeySequence::Find);
    m_system->addSeparator();
    item("schooolinfo", QStringLiteral("学校信息设置"), [](frmmain* m) { m->schooolinfo_Click(); });
    item("cleancahier", QStringLiteral("会议记录清空"), [](frmmain* m) { admin::cleancahier_Click(m); });
    item("cleannote", QStringLiteral("学校事历清空"), [](frmmain* m) { admin::cleannote_Click(m); });
    item("cleanaddlist", QStringLiteral("通讯录清空"), [](frmmain* m) { admin::cleanaddlist_Click(m); });
    item("cleanteacher", QStringLiteral("教师考勤清空"), [](frmmain* m) { admin::cleanteacher_Click(m); });
    item("cleanonduty", QStringLiteral("值周安排清空"), [](frmmain* m) { admin::cleanonduty_Click(m); });
    m_system->addSeparator();
    item("backupdata", QStringLiteral("备份数据…"), [](frmmain* m) { admin::backupdata_Click(m); });
    item("restoredata", QStringLiteral("恢复数据…"), [](frmmain* m) { admin::restoredata_Click(m); });
    item("recyclebin", QStringLiteral("回收站…"), [](frmmain* m) { admin::recyclebin_Click(m); });
    item("opendatafolder", QStringLiteral("打开数据文件夹"), [](frmmain* m) { admin::opendatafolder_Click(m); });
    // Each book is backed up before the import changes it.
    item("importdata", QStringLiteral("导入旧数据…"),
         [](frmmain* m) { admin::importdata_Click(m, admin::snapshotBefore(QStringLiteral("导入旧数据前"))); });
    item("changepwd", QStringLiteral("修改密码…"), [](frmmain* m) { admin::changepwd_Click(m, m->user()); });
    item("usermanage", QStringLiteral("用户管理…"), [](frmmain* m) { admin::usermanage_Click(m, m->user()); });
    m_system->addSeparator();
    item("cascade", QStringLiteral("层叠窗口"), [](frmmain* m) { m->cascade_Click(); });
    connect(m_system, &QMenu::aboutToShow, this, &frmmain::listWindows);

    auto command = [this, bar](const char* name, const QString& text, void (frmmain::*run)()) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        if (run) connect(a, &QAction::triggered, this, run);
        return a;
    };
    command("cahier", QStringLiteral("会议记录"), &frmmain::cahier_Click);
    command("note", QStringLiteral("学校事历"), &frmmain::note_Click);
    command("addlist", QStringLiteral("教师通讯录"), &frmmain::addlist_Click);
    command("teacher", QStringLiteral("教师考勤"), &frmmain::teacher_Click);
    command("onduty", QStringLiteral("值周安排"), &frmmain::onduty_Click);
    command("print", QStringLiteral("打印报表"), &frmmain::print_Click);
    command("help", QStringLiteral("帮助"), &frmmain::help_Click);
    command("exit", QStringLiteral("退出"), &frmmain::exit_Click);
}

// The open child windows, listed under the items of "系统设定", the active one marked.
void frmmain::listWindows() {
    qDeleteAll(m_windowActions);
    m_windowActions.clear();
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    bool first = true;
    for (QMdiSubWindow* sub : windows) {
        if (!sub->isVisible() || sub->windowTitle().isEmpty()) continue;
        if (first) m_windowActions << m_system->addSeparator();
        first = false;
        QAction* a = m_system->addAction(sub->windowTitle());
        a->setCheckable(true);
        a->setChecked(sub == m_area->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (!sub) return;
            m_area->setActiveSubWindow(sub);
            sub->raise();
            ui::bringIntoView(sub);
        });
        m_windowActions << a;
    }
}
