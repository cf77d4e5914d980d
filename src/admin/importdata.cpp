#include "importdata.h"

#include "frmimport.h"

#include <jet/jetsource.h>
#include <store/database.h>
#include <ui/choosepath.h>
#include <ui/errortext.h>
#include <ui/notify.h>

#include <QApplication>
#include <QDir>

namespace admin {

namespace {

QVector<store::ImportBook> readWaiting(const QString& source) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QVector<store::ImportBook> books = jet::findBooks(source);
    QApplication::restoreOverrideCursor();
    return books;
}

QString ask(QWidget* parent, ui::PathKind kind) {
    if (kind == ui::PathKind::Folder)
        return ui::choosePath(parent, QStringLiteral("选择存放旧数据的文件夹"), QDir::homePath(), kind);
    return ui::choosePath(parent, QStringLiteral("选择一个旧数据文件"), QDir::homePath(), kind,
                          QStringLiteral("数据文件 (*.dat *.mdb);;所有文件 (*)"));
}

} // namespace

void importdata_Click(QWidget* parent, const store::BeforeChange& beforeChange) {
    if (const QString why = jet::Unavailable(); !why.isEmpty()) {
        ui::notify(parent, why, ui::Information);
        return;
    }
    QString source = ask(parent, ui::PathKind::Folder);
    QVector<store::ImportBook> books;
    QVector<int> chosen;
    store::ImportMode mode = store::ImportMode::Add;
    while (!source.isEmpty()) {
        books = readWaiting(source);
        Frmimport dialog(parent, source, books);
        const int answer = dialog.run();
        if (answer == Frmimport::ChooseFolder || answer == Frmimport::ChooseFile) {
            source = ask(parent, answer == Frmimport::ChooseFolder ? ui::PathKind::Folder : ui::PathKind::File);
            continue;
        }
        if (answer != QDialog::Accepted) return;
        chosen = dialog.chosen();
        mode = dialog.mode();
        break;
    }
    if (chosen.isEmpty()) return;
    if (mode == store::ImportMode::Replace &&
        ui::notify(parent, QStringLiteral("确定要替换吗？所选记录本中现有的记录将被删除，换成导入的记录。"),
                   ui::OkCancel) != ui::kAnswerOk)
        return;

    QStringList summary;
    bool failed = false;
    for (int i : chosen) {
        const store::ImportBook& book = books.at(i);
        const QString head = QString("%1（从“%2”导入到“%3”）：")
                                 .arg(book.title, ui::shownPath(book.source), ui::shownPath(book.bookFile));
        try {
            summary << head + "\n    " +
                           jet::describeImport(store::importRows(book, mode, beforeChange)).join("\n    ");
        } catch (const store::Error& e) {
            failed = true;
            summary << head + "\n    没有导入，这个记录本保持不变。" + ui::describe(e);
        }
    }
    ui::notify(parent,
               (failed ? QStringLiteral("导入没有全部完成。\n\n") : QStringLiteral("导入完成。\n\n")) +
                   summary.join("\n"),
               failed ? ui::Warning : ui::Information);
}

} // namespace admin
