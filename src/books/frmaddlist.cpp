#include "frmaddlist.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <store/statements.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/enterfocus.h>
#include <ui/fonts.h>
#include <ui/limitededit.h>
#include <ui/notify.h>
#include <ui/toolbar.h>
#include <ui/twips.h>

#include <QLabel>
#include <QLineEdit>

using ui::place;

namespace {

const QString kNone = QStringLiteral("无");
const QString kNoRecords = QStringLiteral("暂时没有记录！");
const QString kBoxStyle = QStringLiteral("background-color: #ffffc0;");
const QStringList kColumns{"name", "sex", "mphone", "phone", "addcode", "qq", "email", "address", "remark"};


} // namespace

Frmaddlist::Frmaddlist(QWidget* parent) : ui::ChildForm(parent) {
    setObjectName("Frmaddlist");
    setWindowTitle(QStringLiteral("教师通讯录"));
    resize(ui::twips(10500), ui::twips(7500));

    Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    Frame1->resize(ui::twips(9975), ui::twips(6615));

    Label1 = new QLabel(Frame1);
    Label1->setObjectName("Label1");
    Label1->setFont(ui::designFont(QStringLiteral("隶书"), 15));
    Label1->setAlignment(Qt::AlignCenter);
    place(Label1, 1800, 240, 3900, 300);

    Toolbar1 = ui::makeToolbar(Frame1,
                               {{"增加", "add"},
                                {"保存", "save"},
                                {"编辑", "edit"},
                                {"查寻", "search"},
                                {"删除", "delete"},
                                {"起点", "first"},
                                {"前条", "previous"},
                                {"后条", "next"},
                                {"终点", "last"},
                                {"退出", "exit"}},
                               [this](int i) { Toolbar1_ButtonClick(i); });
    ui::placeToolbar(Toolbar1, 120, 720, 4695, 585);

    Label11 = new QLabel(Frame1);
    Label11->setObjectName("Label11");
    Label11->setFont(ui::song(14.25, true));
    Label11->setStyleSheet("background-color: #c0ffc0;");
    ui::placeAt(Label11, 600, 1560);
    Label11->hide();

    Label10 = new QLabel(QStringLiteral("备　注："), Frame1);
    Label10->setObjectName("Label10");
    Label10->setFont(ui::song(12));
    ui::placeAt(Label10, 6000, 1560);

    const char* captions[8] = {"姓　　名：", "性　　别：", "移动电话：", "固定电话：",
                               "邮　　编：", "QQ/ICQ：",   "E－mail:",   "地　　址："};
    const int tops[8] = {2520, 3000, 3480, 3960, 4440, 4920, 5400, 5880};
    for (int i = 0; i < 8; ++i) {
        m_captions[i] = new QLabel(QString::fromUtf8(captions[i]), Frame1);
        m_captions[i]->setObjectName(QString("Label%1").arg(i + 2));
        m_captions[i]->setFont(ui::song(12));
        ui::placeAt(m_captions[i], 840, tops[i]);
        m_captions[i]->adjustSize();
    }

    auto box = [this](const char* name, double l, double t, double w, double h, int maxLength) {
        auto* e = new QLineEdit(Frame1);
        e->setObjectName(name);
        e->setFont(ui::song(12));
        e->setStyleSheet(kBoxStyle);
        e->setReadOnly(true);
        if (maxLength) e->setMaxLength(maxLength);
        place(e, l, t, w, h);
        ui::moveFocusOnEnter(e);
        return e;
    };
    txtname = box("txtname", 2160, 2400, 1695, 375, 20);
    ui::keepLegibleWhenDisabled(txtname); // disabled by 编辑, the name stays readable
    txtsex = box("txtsex", 2160, 2880, 1335, 375, 10);
    txtmphone = box("txtmphone", 2160, 3360, 1935, 375, 0);
    txtphone = box("txtphone", 2160, 3840, 1935, 405, 0);
    txtcode = box("txtcode", 2160, 4320, 1935, 375, 0);
    txtqq = box("txtqq", 2160, 4800, 1935, 375, 0);
    txtemail = box("txtemail", 2160, 5280, 3375, 375, 0);
    txtaddress = box("txtaddress", 2160, 5760, 4455, 375, 0);
    txtremark = new ui::LimitedTextEdit(Frame1, 100);
    txtremark->setObjectName("txtremark");
    txtremark->setFont(ui::song(12));
    txtremark->setStyleSheet("QPlainTextEdit { background-color: #ffffc0; }");
    txtremark->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtremark->setLocked(true);
    place(txtremark, 6000, 1920, 3375, 3735);

    QWidget* order[] = {txtname, txtsex, txtmphone, txtphone, txtcode, txtqq, txtemail, txtaddress, txtremark};
    for (int i = 0; i + 1 < 9; ++i) setTabOrder(order[i], order[i + 1]);

    Form_Load();
}

void Frmaddlist::Form_Load() {
    SearchStep = 0;
    const QString school = schoolName();
    Label1->setText(QStringLiteral("欢迎使用") + school + QStringLiteral("教师通讯录"));
    reload(QString());
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    if (m_rs.isEmpty()) {
        QFont big = txtremark->font();
        big.setPointSizeF(20);
        txtremark->setFont(big);
        showEmptyTable();
        ui::toolButton(Toolbar1, Edit)->setEnabled(false);
    } else {
        m_rs.moveFirst();
        ShowCurrentRecord();
    }
}

void Frmaddlist::showEmptyTable() {
    txtremark->setText(kNoRecords);
    QPalette pal = txtremark->palette();
    pal.setColor(QPalette::Text, QColor(255, 0, 0));
    txtremark->setPalette(pal);
    txtremark->setStyleSheet("QPlainTextEdit { background-color: #ffffc0; color: #ff0000; }");
}

// The window keeps its designed size, centred in the main window, with its frame centred.
void Frmaddlist::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(Frame1);
    Label1->adjustSize();
    Label1->resize(qMax(Label1->width(), ui::twips(3900)), ui::twips(300) + 4);
    Label1->move((ui::twips(10500) - Label1->width()) / 2, Label1->y()); // the window's width, as designed
}


void Frmaddlist::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case Add: add(); break;
    case Save: save(); break;
    case Edit: edit(); break;
    case Search: search(); break;
    case Delete: remove(); break;
    case First: first(); break;
    case Previous: previous(); break;
    case Next: next(); break;
    case Last: last(); break;
    case Exit: emit backRequested(); break;
    default: break;
    }
}

QStringList Frmaddlist::boxTexts() const {
    return {txtname->text(), txtsex->text(),   txtmphone->text(),  txtphone->text(), txtcode->text(),
            txtqq->text(),   txtemail->text(), txtaddress->text(), txtremark->text()};
}

void Frmaddlist::setBoxTexts(const QStringList& v) {
    QLineEdit* lines[] = {txtname, txtsex, txtmphone, txtphone, txtcode, txtqq, txtemail, txtaddress};
    for (int i = 0; i < 8; ++i) ui::setText(lines[i], v.value(i));
    txtremark->setText(v.value(8));
}

void Frmaddlist::ClearFields() {
    setBoxTexts(QStringList());
    m_shown = store::RecordRef();
}

void Frmaddlist::UnlockFields() {
    for (QLineEdit* e : {txtname, txtsex, txtmphone, txtphone, txtcode, txtqq, txtemail, txtaddress})
        e->setReadOnly(false);
    txtremark->setLocked(false);
}

void Frmaddlist::setSexAndCodeEnabled(bool enabled) {
    m_captions[1]->setEnabled(enabled); // Label3
    m_captions[4]->setEnabled(enabled); // Label6
    txtsex->setEnabled(enabled);
    txtcode->setEnabled(enabled);
}

void Frmaddlist::ShowCurrentRecord() {
    txtname->setEnabled(true);
    setSexAndCodeEnabled(true);
    QStringList values;
    for (int i = 0; i < 9; ++i) values << m_rs.fields(i);
    setBoxTexts(values);
    m_shown = m_rs.current();
}

void Frmaddlist::add() {
    UnlockFields();
    setSexAndCodeEnabled(true);
    ClearFields();
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    Label11->setText(QStringLiteral("请输入相关信息，然后单击保存按钮 "));
    Label11->adjustSize();
    Label11->show();
    AddMode = true;
}

void Frmaddlist::edit() {
    AddMode = false;
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    UnlockFields();
    setSexAndCodeEnabled(true);
    txtname->setEnabled(false);
    Label11->setText(QStringLiteral("请更改相关信息，然后单击保存按钮"));
    Label11->adjustSize();
    Label11->show();
}

void Frmaddlist::save() {
    Label11->hide();
    if (txtname->text().isEmpty()) {
        ui::notify(this, QStringLiteral("请输入名字！"), ui::Warning);
        return;
    }
    if (txtsex->text().isEmpty()) {
        ui::notify(this, QStringLiteral("请输入性别！"), ui::Warning);
        return;
    }
    if (!AddMode && !m_shown.isValid()) {
        ui::notify(this, QStringLiteral("当前没有显示任何记录，无法保存修改。请先找到要修改的记录，再单击“编辑”。"),
                   ui::Warning);
        return;
    }
    QStringList values = boxTexts();
    for (int i = 2; i < 9; ++i)
        if (values[i].isEmpty()) values[i] = kNone;
    const bool saved = attempt(
        QStringLiteral("内容没有保存。"),
        [&] {
            auto db = store::OpenRosterDatabase();
            if (AddMode) {
                m_shown = {db->insert(store::addressInsert(values)), kColumns, values};
            } else {
                db->executeOnRecord(store::addressUpdate(values, m_shown.condition()));
                for (int i = 0; i < 9 && i < m_shown.values.size(); ++i) m_shown.values[i] = values[i];
            }
        },
        [this](const store::Error& e) { showAfterRefusal(e); });
    if (!saved) return;
    ui::notify(this, QStringLiteral("内容已经保存"), ui::Information);
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    reload(QString());
    m_rs.moveFirst();
    txtname->setEnabled(true);
}

void Frmaddlist::search() {
    if (SearchStep == 0) {
        ClearFields();
        setSexAndCodeEnabled(false);
        ui::notify(this, QStringLiteral("请输入相应的查寻条件，然后单击'查寻'"), ui::Information);
        UnlockFields();
    }
    if (SearchStep == 1) {
        const QString condition =
            store::addressCondition(txtname->text(), txtmphone->text(), txtphone->text(), txtqq->text(), txtemail->text(),
                                  txtaddress->text(), txtremark->text());
        if (condition.isEmpty()) {
            ui::notify(this, QStringLiteral("请输入相应的查寻条件，然后单击'查寻'"), ui::Information);
            return;
        }
        store::RecordSet found;
        if (!attempt(QStringLiteral("无法查寻。"),
                     [&] { found = store::OpenRosterDatabase()->openTableWithRowids("tabaddlist", condition); }))
            return;
        if (found.isEmpty()) {
            Label11->setText(QStringLiteral("没有该记录！"));
            Label11->adjustSize();
            Label11->show();
            return;
        }
        m_rs = found;
        m_where = condition;
        m_rs.moveLast();
        Label11->setText(QStringLiteral("共找到") + QString::number(m_rs.recordCount()) + QStringLiteral("位"));
        Label11->adjustSize();
        m_rs.moveFirst();
        Label11->show();
        ShowCurrentRecord();
    }
    SearchStep = (SearchStep + 1) % 2;
}

// The rows again, read with the condition the window shows (a search's, or none); a file that
// cannot be read leaves the window with no rows, and says why.
void Frmaddlist::reload(const QString& where) {
    m_rs = store::RecordSet();
    m_where.clear();
    attempt(QStringLiteral("无法读取教师通讯录。"), [&] {
        m_rs = store::OpenRosterDatabase()->openTableWithRowids("tabaddlist", where);
        m_where = where;
    });
}

void Frmaddlist::remove() {
    const QString name = txtname->text();
    if (name.isEmpty()) {
        ui::notify(this, QStringLiteral("请输入姓名！"), ui::Information);
        return;
    }
    removeShownOrNamed(name);
}

// The record on screen alone, while it is as read; a name typed by the user removes every
// record with it.
void Frmaddlist::removeShownOrNamed(const QString& name) {
    const store::RecordSet before = m_rs;
    QVector<qint64> gone;
    const bool deleted = attempt(
        QStringLiteral("没有删除。"),
        [&] {
            auto db = store::OpenRosterDatabase();
            if (m_shown.isValid() && name == m_shown.values.value(0)) {
                db->executeOnRecord(store::addressDeleteRecord(m_shown.condition()));
                gone << m_shown.rowid;
            } else {
                for (int i = 0; i < before.recordCount(); ++i)
                    if (before.rows().at(i).value(0) == name) gone << before.rowids().value(i);
                db->execute(store::addressDeleteByName(name));
            }
        },
        [this](const store::Error& e) { showAfterRefusal(e); });
    if (!deleted) return;
    ui::notify(this, QStringLiteral("内容已经删除！"), ui::Warning);
    showAfterDelete(before, gone);
}

// After a delete the window moves on to the record that followed, as read from the file again:
// a deleted record, or one emptied meanwhile, is never shown again. Past the end of the rows,
// the whole table comes back.
void Frmaddlist::showAfterDelete(const store::RecordSet& before, const QVector<qint64>& gone) {
    const int from = before.bof() ? 0 : before.position() + 1;
    QVector<qint64> following;
    if (!before.eof())
        for (int i = qMax(0, from); i < before.recordCount(); ++i)
            if (!gone.contains(before.rowids().value(i))) following << before.rowids().value(i);
    reload(following.isEmpty() ? QString() : m_where);
    for (qint64 rowid : following) {
        if (m_rs.moveToRowid(rowid)) {
            ShowCurrentRecord();
            return;
        }
    }
    if (!m_where.isEmpty()) reload(QString());
    if (!m_rs.isEmpty()) {
        m_rs.moveFirst();
        ShowCurrentRecord();
    } else {
        ClearFields();
        showEmptyTable();
    }
}

// A write found the record changed or gone: show what the file holds now, the same record if
// it is still there.
void Frmaddlist::showAfterRefusal(const store::Error& e) {
    if (e.kind() != store::Error::Changed) return;
    reload(m_where);
    if (!m_rs.moveToRowid(m_shown.rowid)) m_rs.moveFirst();
    if (!m_rs.isEmpty()) {
        ShowCurrentRecord();
    } else {
        ClearFields();
        showEmptyTable();
    }
}

void Frmaddlist::first() {
    if (m_rs.bof()) return;
    m_rs.moveFirst();
    ShowCurrentRecord();
}

void Frmaddlist::previous() {
    if (m_rs.isEmpty()) return;
    if (m_rs.bof())
        m_rs.moveFirst();
    else
        m_rs.movePrevious();
    if (!m_rs.bof()) ShowCurrentRecord();
}

void Frmaddlist::next() {
    if (m_rs.isEmpty()) return;
    if (m_rs.eof())
        m_rs.moveLast();
    else
        m_rs.moveNext();
    if (!m_rs.eof()) ShowCurrentRecord();
}

void Frmaddlist::last() {
    if (m_rs.eof()) return;
    m_rs.moveLast();
    ShowCurrentRecord();
}
