// The list-editing mode of the attendance window: new categories, subjects and lesson numbers.
#include "frmteacher.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/statements.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/toolbar.h>
#include <ui/twips.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using ui::place;

void frmteacher::buildAddControls() {
    auto label = [this](const char* name, const QString& text, double l, double t) {
        auto* lb = new QLabel(text, Frame1);
        lb->setObjectName(name);
        lb->setFont(ui::song(10.5));
        ui::placeAt(lb, l, t);
        lb->adjustSize();
        lb->hide();
        return lb;
    };
    auto box = [this](const char* name, double l, double t, double w, double h) {
        auto* e = new QLineEdit(Frame1);
        e->setObjectName(name);
        e->setFont(ui::song(12));
        place(e, l, t, w, h);
        e->hide();
        return e;
    };
    auto button = [this](const char* name, const QString& text, double l, double t) {
        auto* b = new QPushButton(text, Frame1);
        b->setObjectName(name);
        b->setFont(ui::song(10.5));
        b->setAutoDefault(true);
        place(b, l, t, 1215, 375);
        b->hide();
        return b;
    };
    labaddnumber = label("labaddnumber", QStringLiteral("增加节次："), 240, 1320);
    txtaddnumber = box("txtaddnumber", 1560, 1200, 1815, 360);
    labaddsubject = label("labaddsubject", QStringLiteral("增加科目："), 3600, 1320);
    txtaddsubject = box("txtaddsubject", 4800, 1200, 1815, 360);
    labaddsort = label("labaddsort", QStringLiteral("增加考勤类别："), 240, 1680);
    txtaddsort = box("txtaddsort", 1920, 1560, 1455, 360);
    cmdok = button("cmdok", QStringLiteral("确　定"), 6840, 1560);
    cmdcancel = button("cmdcancel", QStringLiteral("取　消"), 8400, 1560);
    connect(cmdok, &QPushButton::clicked, this, &frmteacher::cmdok_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmteacher::cmdcancel_Click);
    setTabOrder(txtaddnumber, txtaddsubject);
    setTabOrder(txtaddsubject, txtaddsort);
    setTabOrder(txtaddsort, cmdok);
    setTabOrder(cmdok, cmdcancel);
}

QList<QWidget*> frmteacher::entryControls() const {
    return {labdate, labname, labsort, labsubject, labcount, labnumber,
            txtdate, comname, comsort, comsubject, txtcount, comnumber};
}

QList<QWidget*> frmteacher::addControls() const {
    return {labaddsort, labaddsubject, labaddnumber, txtaddsort, txtaddsubject, txtaddnumber, cmdok, cmdcancel};
}

void frmteacher::HideEntryControls() {
    for (QWidget* w : entryControls()) w->hide();
}

void frmteacher::ShowEntryControls() {
    for (QWidget* w : entryControls()) w->show();
}

void frmteacher::ShowAddControls() {
    HideEntryControls();
    for (QWidget* w : addControls()) w->show();
}

void frmteacher::HideAddControls() {
    for (QWidget* w : addControls()) w->hide();
}

void frmteacher::cmdcancel_Click() {
    HideAddControls();
    ShowEntryControls();
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
}

// Stores the typed items (all or none) and opens the window afresh with them in its lists.
void frmteacher::cmdok_Click() {
    const struct {
        QLineEdit* box;
        const char* table;
    } items[] = {{txtaddsort, "tabaddsort"}, {txtaddsubject, "tabaddsubject"}, {txtaddnumber, "tabaddnumber"}};
    const bool stored = attempt(QStringLiteral("新增的项目没有保存。"), [&] {
        store::Database db(store::kAttendanceFile);
        db.begin();
        for (const auto& item : items)
            if (!item.box->text().isEmpty()) db.execute(store::lookupInsert(item.table, item.box->text()));
        db.commit(); // a refused item leaves the transaction open: closing the file rolls it back
    });
    if (!stored) return;
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    ui::notify(this, QStringLiteral("已经添加"), ui::Information);
    emit reloadRequested();
}
