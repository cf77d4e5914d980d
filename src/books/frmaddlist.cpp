#include "frmaddlist.h"

#include "ui_frmaddlist.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <store/recycle.h>
#include <store/statements.h>
#include <ui/childframe.h>
#include <ui/controls.h>
#include <ui/designedform.h>
#include <ui/enterfocus.h>
#include <ui/fonts.h>
#include <ui/limitededit.h>
#include <ui/notify.h>
#include <ui/twips.h>

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

const QString kNone = QStringLiteral("无");
const QString kNoRecords = QStringLiteral("暂时没有记录！");
const QStringList kColumns{"name", "sex", "mphone", "phone", "addcode", "qq", "email", "address", "remark"};

} // namespace

Frmaddlist::Frmaddlist(QWidget* parent) : ui::ChildForm(parent), form(new Ui::Frmaddlist) {
    form->setupUi(this);
    ui::setPointSize(14.25, {form->Label11});
    Toolbar1 = ui::makeToolbarIn(form->Toolbar1,
                                 {{"增加", "add", QKeySequence::New},
                                  {"保存", "save", QKeySequence::Save},
                                  {"编辑", "edit", Qt::CTRL | Qt::Key_E},
                                  {"查寻", "search", QKeySequence::Find},
                                  {"删除", "delete", Qt::CTRL | Qt::Key_D},
                                  {"起点", "first", Qt::ALT | Qt::Key_Home},
                                  {"前条", "previous", Qt::ALT | Qt::Key_PageUp},
                                  {"后条", "next", Qt::ALT | Qt::Key_PageDown},
                                  {"终点", "last", Qt::ALT | Qt::Key_End},
                                  {"退出", "exit", Qt::Key_Escape}},
                                 [this](int i) { Toolbar1_ButtonClick(i); });
    form->Label11->hide();
    for (QLineEdit* e : lineBoxes()) ui::moveFocusOnEnter(e);
    ui::keepLegibleWhenDisabled(form->txtname); // disabled by 编辑, the name stays readable
    Form_Load();
}

Frmaddlist::~Frmaddlist() = default;

// The eight one-line boxes, in table order (the remark follows them).
QVector<QLineEdit*> Frmaddlist::lineBoxes() const {
    return {form->txtname, form->txtsex, form->txtmphone, form->txtphone,
            form->txtcode, form->txtqq,  form->txtemail,  form->txtaddress};
}

void Frmaddlist::Form_Load() {
    SearchStep = 0;
    const QString school = schoolName();
    form->Label1->setText(QStringLiteral("欢迎使用") + school + QStringLiteral("教师通讯录"));
    reload(QString());
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    if (m_rs.isEmpty()) {
        QFont big = form->txtremark->font();
        big.setPointSizeF(20);
        form->txtremark->setFont(big);
        showEmptyTable();
        ui::toolButton(Toolbar1, Edit)->setEnabled(false);
    } else {
        m_rs.moveFirst();
        ShowCurrentRecord();
    }
}

void Frmaddlist::showEmptyTable() {
    form->txtremark->setText(kNoRecords);
    QPalette pal = form->txtremark->palette();
    pal.setColor(QPalette::Text, QColor(255, 0, 0));
    form->txtremark->setPalette(pal);
    form->txtremark->setStyleSheet("QPlainTextEdit { background-color: #ffffc0; color: #ff0000; }");
}

// The window keeps its designed size, centred in the main window, with its frame centred.
void Frmaddlist::Form_Resize() {
    ui::fixAndCentre(this, 10500, 7500);
    ui::centreInParent(form->Frame1);
    form->Label1->adjustSize();
    form->Label1->resize(qMax(form->Label1->width(), ui::twips(3900)), ui::twips(300) + 4);
    // Centred in the window's width, as designed.
    form->Label1->move((ui::twips(10500) - form->Label1->width()) / 2, form->Label1->y());
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
    QStringList texts;
    for (const QLineEdit* e : lineBoxes()) texts << e->text();
    return texts << form->txtremark->text();
}

void Frmaddlist::setBoxTexts(const QStringList& v) {
    const QVector<QLineEdit*> lines = lineBoxes();
    for (int i = 0; i < lines.size(); ++i) ui::setText(lines[i], v.value(i));
    form->txtremark->setText(v.value(8));
}

void Frmaddlist::ClearFields() {
    setBoxTexts(QStringList());
    m_shown = store::RecordRef();
}

void Frmaddlist::UnlockFields() {
    for (QLineEdit* e : lineBoxes()) e->setReadOnly(false);
    form->txtremark->setLocked(false);
}

void Frmaddlist::setSexAndCodeEnabled(bool enabled) {
    form->Label3->setEnabled(enabled); // the captions of the sex and the postal code
    form->Label6->setEnabled(enabled);
    form->txtsex->setEnabled(enabled);
    form->txtcode->setEnabled(enabled);
}

void Frmaddlist::ShowCurrentRecord() {
    form->txtname->setEnabled(true);
    setSexAndCodeEnabled(true);
    QStringList values;
    for (int i = 0; i < 9; ++i) values << m_rs.fields(i);
    setBoxTexts(values);
    m_shown = m_rs.current();
}

// The hint or result line, Label11.
void Frmaddlist::showHint(const QString& text) {
    form->Label11->setText(text);
    form->Label11->adjustSize();
    form->Label11->show();
}

void Frmaddlist::add() {
    UnlockFields();
    setSexAndCodeEnabled(true);
    ClearFields();
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    showHint(QStringLiteral("请输入相关信息，然后单击保存按钮 "));
    AddMode = true;
}

// A new teacher with a box typed in, or the shown record's boxes changed after 编辑, not saved.
bool Frmaddlist::hasUnsavedInput() const {
    if (!ui::toolButton(Toolbar1, Save)->isEnabled()) return false;
    const QStringList typed = boxTexts();
    if (AddMode) return std::any_of(typed.begin(), typed.end(), [](const QString& t) { return !t.isEmpty(); });
    return m_shown.isValid() && typed != m_shown.values;
}

void Frmaddlist::edit() {
    AddMode = false;
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    UnlockFields();
    setSexAndCodeEnabled(true);
    form->txtname->setEnabled(false);
    showHint(QStringLiteral("请更改相关信息，然后单击保存按钮"));
}

void Frmaddlist::save() {
    form->Label11->hide();
    if (form->txtname->text().isEmpty()) {
        ui::notify(this, QStringLiteral("请输入名字！"), ui::Warning);
        return;
    }
    if (form->txtsex->text().isEmpty()) {
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
    form->txtname->setEnabled(true);
}

void Frmaddlist::search() {
    if (SearchStep == 0) {
        ClearFields();
        setSexAndCodeEnabled(false);
        ui::notify(this, QStringLiteral("请输入相应的查寻条件，然后单击'查寻'"), ui::Information);
        UnlockFields();
    }
    if (SearchStep == 1) {
        const QString condition = store::addressCondition(
            form->txtname->text(), form->txtmphone->text(), form->txtphone->text(), form->txtqq->text(),
            form->txtemail->text(), form->txtaddress->text(), form->txtremark->text());
        if (condition.isEmpty()) {
            ui::notify(this, QStringLiteral("请输入相应的查寻条件，然后单击'查寻'"), ui::Information);
            return;
        }
        store::RecordSet found;
        if (!attempt(QStringLiteral("无法查寻。"),
                     [&] { found = store::OpenRosterDatabase()->openTableWithRowids("tabaddlist", condition); }))
            return;
        if (found.isEmpty()) {
            showHint(QStringLiteral("没有该记录！"));
            return;
        }
        m_rs = found;
        m_where = condition;
        m_rs.moveLast();
        showHint(QStringLiteral("共找到") + QString::number(m_rs.recordCount()) + QStringLiteral("位"));
        m_rs.moveFirst();
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
    const QString name = form->txtname->text();
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
                store::deleteKeeping(*db, store::addressDeleteRecord(m_shown.condition()), true);
                gone << m_shown.rowid;
            } else {
                for (int i = 0; i < before.recordCount(); ++i)
                    if (before.rows().at(i).value(0) == name) gone << before.rowids().value(i);
                store::deleteKeeping(*db, store::addressDeleteByName(name));
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

// A record a search found: the whole book again, standing on that record.
bool Frmaddlist::showRecord(const QString& table, qint64 rowid, const QStringList&) {
    if (table != QLatin1String("tabaddlist")) return false;
    SearchStep = 0;
    AddMode = false;
    form->Label11->hide();
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    reload(QString());
    if (!m_rs.moveToRowid(rowid)) {
        m_rs.moveFirst();
        if (!m_rs.isEmpty()) ShowCurrentRecord();
        showHint(QStringLiteral("该记录已经不在了！"));
        return false;
    }
    ShowCurrentRecord();
    return true;
}
