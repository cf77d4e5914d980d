#include "emptying.h"

#include "backups.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <store/refill.h>
#include <store/statements.h>
#include <ui/errortext.h>
#include <ui/notify.h>

namespace admin {

namespace {

// Asked with Cancel as the default: Enter or a stray keypress never empties a book.
const QString kConfirm = QStringLiteral("确定需要清空吗？清空后将不能恢复！");

const QString kNotEmptied = QStringLiteral("没有清空，原有记录保持不变。");

// The book's file is copied into backup/ under the emptying's own write lock, then emptied; when
// the copy cannot be made, nothing is emptied.
struct Emptying {
    QWidget* parent;
    store::Snapshot snapshot;
    QString failed = kNotEmptied; // what is said when it fails (ui::attempt reads it then)
    store::BeforeChange before() {
        return [this](const QString& file) {
            failed = QStringLiteral("没有清空：清空之前无法备份这个记录本，原有记录保持不变。");
            snapshot.take(file);
            failed = kNotEmptied;
        };
    }
    store::KeepWaiting waiting() const { return ui::waitingDialog(parent, QStringLiteral("正在清空…")); }
    bool attempt(const std::function<void()>& action) { return ui::attempt(parent, failed, action); }
};

void deleteAllRows(QWidget* parent, const QString& statement, const QString& what, const QString& done) {
    if (ui::notify(parent, kConfirm, ui::OkCancel | ui::DefaultCancel) != ui::kAnswerOk) return;
    Emptying e{parent, snapshotBefore(what)};
    if (!e.attempt([&] {
            auto db = store::OpenRosterDatabase();
            db->transaction([&] { db->execute(statement); }, e.before(), e.waiting());
        }))
        return;
    ui::notify(parent, done, ui::Information);
}

void copyTemplate(QWidget* parent, const QString& templ, const QString& target, const QString& what,
                  const QString& done) {
    if (!store::FileExists(templ)) {
        ui::notify(parent, QStringLiteral("系统文件") + templ + QStringLiteral("丢失"), ui::Information);
        return;
    }
    if (ui::notify(parent, kConfirm, ui::OkCancel | ui::DefaultCancel) != ui::kAnswerOk) return;
    Emptying e{parent, snapshotBefore(what)};
    QString kept;
    if (!e.attempt([&] { kept = store::refillBook(target, templ, e.before(), e.waiting()); })) return;
    // A file the engine could not read was kept beside the new one: say where.
    if (!kept.isEmpty())
        ui::notify(parent,
                   done + QStringLiteral("\n原来的文件已经损坏，无法读取，已原样保留为“%1”。").arg(ui::shownPath(kept)),
                   ui::Information);
    else
        ui::notify(parent, done, ui::Information);
}

} // namespace

void cleanaddlist_Click(QWidget* parent) {
    deleteAllRows(parent, store::addressDeleteAll(), QStringLiteral("清空通讯录前"),
                  QStringLiteral("教师通讯录已经清空"));
}

void cleanonduty_Click(QWidget* parent) {
    deleteAllRows(parent, store::rotaDeleteAll(), QStringLiteral("清空值周安排前"), QStringLiteral("值周安排已经清空"));
}

void cleancahier_Click(QWidget* parent) {
    copyTemplate(parent, store::kMinutesTemplate, store::kMinutesFile, QStringLiteral("清空会议记录前"),
                 QStringLiteral("会议记录已经清空"));
}

void cleannote_Click(QWidget* parent) {
    copyTemplate(parent, store::kEventsTemplate, store::kEventsFile, QStringLiteral("清空学校事历前"),
                 QStringLiteral("学校事历已经清空"));
}

void cleanteacher_Click(QWidget* parent) {
    copyTemplate(parent, store::kAttendanceTemplate, store::kAttendanceFile, QStringLiteral("清空教师考勤前"),
                 QStringLiteral("教师考勤已经清空"));
}

} // namespace admin
