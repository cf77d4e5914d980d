#include "themebook.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/recycle.h>
#include <store/statements.h>
#include <ui/controls.h>
#include <ui/designedform.h>
#include <ui/limitededit.h>
#include <ui/notify.h>
#include <ui/recordsetmodel.h>
#include <ui/twips.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

namespace {

const QString kNone = QStringLiteral("无");
const QString kNoRecords = QStringLiteral("暂时没有记录！");

QString boxText(const QWidget* w) {
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* t = qobject_cast<const ui::LimitedTextEdit*>(w)) return t->text();
    return {};
}

void setBoxText(QWidget* w, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(w))
        ui::setText(e, text);
    else if (auto* t = qobject_cast<ui::LimitedTextEdit*>(w))
        t->setText(text);
}

void setLocked(QWidget* w, bool locked) {
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setReadOnly(locked);
    else if (auto* t = qobject_cast<ui::LimitedTextEdit*>(w))
        t->setLocked(locked);
}

} // namespace

ThemeBook::ThemeBook(const Facts& facts, QWidget* parent) : ui::ChildForm(parent), m_facts(facts) {}

void ThemeBook::open(const Controls& controls, const QVector<Required>& required) {
    m_form = controls;
    m_required = required;
    Toolbar1 = ui::makeToolbarIn(m_form.Toolbar1,
                                 {{},
                                  {"增加", "add", QKeySequence::New},
                                  {},
                                  {"保存", "save", QKeySequence::Save},
                                  {},
                                  {"删除", "delete", Qt::CTRL | Qt::Key_D},
                                  {},
                                  {"返回", "back", Qt::Key_Escape}},
                                 [this](int i) { Toolbar1_ButtonClick(i); });

    QComboBox* combo = m_form.Combo1;
    ui::setUpCombo(combo);
    combo->setModel(m_themes = new ui::TextListModel(combo));
    if (auto* list = qobject_cast<QListView*>(combo->view())) list->setUniformItemSizes(true);
    connect(combo, qOverload<int>(&QComboBox::activated), this, &ThemeBook::Combo1_Click);
    // Only a pick from the list shows a record. Qt's combo box also "activates" the listed entry
    // that equals the typed text when typing ends (Enter, or the focus leaving it): after 增加
    // that would replace what the person typed by an old record.
    disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    Form_Load();
}

void ThemeBook::Form_Load() {
    const QString school = schoolName();
    m_form.Label1_0->setText(school + m_facts.titleSuffix);
    m_form.Label1_0->adjustSize();
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    LoadThemeList();
}

// The first row in the boxes and every theme in the list, one entry per row, in table order.
void ThemeBook::LoadThemeList() {
    QStringList themes;
    QVector<qint64> rowids;
    store::RecordSet first;
    attempt(
        QString("无法读取%1。").arg(windowTitle()),
        [&] {
            store::Database db(m_facts.file);
            // The list needs the themes alone, in table order; the boxes need the first row whole.
            const store::RecordSet list = db.openRecordset(store::themeList(m_facts.table));
            themes.reserve(list.recordCount());
            rowids.reserve(list.recordCount());
            for (const QStringList& row : list.rows()) {
                rowids << row.value(0).toLongLong();
                themes << row.value(1);
            }
            if (!themes.isEmpty()) first = db.openTableWithRowids(m_facts.table, store::rowidCondition(rowids.first()));
        },
        [&](const store::Error&) { themes.clear(); });
    m_shown = store::RecordRef();
    if (themes.isEmpty()) {
        m_themes->setItems({});
        m_form.Combo1->setStyleSheet("QComboBox { color: #ff0000; }");
        ui::setText(m_form.Combo1, kNoRecords);
        return;
    }
    first.moveFirst();
    showRow(first);
    const QString firstTheme = themes.first();
    m_themes->setItems(std::move(themes), std::move(rowids));
    ui::setText(m_form.Combo1, firstTheme);
}

void ThemeBook::showRow(const store::RecordSet& rs) {
    for (int i = 0; i < m_form.columns.size(); ++i) setBoxText(m_form.columns[i], rs.fields(i + 1));
    m_shown = rs.current();
}

void ThemeBook::emptyBoxes() {
    for (QWidget* w : m_form.columns) setBoxText(w, QString());
}

void ThemeBook::Form_Resize() {
    const double sw = ui::toTwips(width()), sh = ui::toTwips(height());
    m_form.Frame1->resize(ui::twips(qMax(0.0, sw - 150)), ui::twips(qMax(0.0, sh - 100)));
    m_form.Label1_0->move((m_form.Frame1->width() - m_form.Label1_0->width()) / 2, m_form.Label1_0->y());
    m_form.columns.last()->resize(ui::twips(qMax(0.0, sw - 1150)), ui::twips(qMax(0.0, sh - m_facts.contentMargin)));
}

void ThemeBook::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case Add: add(); break;
    case Save: save(); break;
    case Delete: remove(); break;
    case Back: emit backRequested(); break;
    default: break;
    }
}

// The picked entry's own row: the k-th entry of a theme shows the k-th row with that theme.
void ThemeBook::Combo1_Click(int index) {
    const QString theme = m_form.Combo1->itemText(index);
    const qint64 wanted = m_form.Combo1->itemData(index).toLongLong();
    store::RecordSet rs;
    if (!attempt(QStringLiteral("无法读取这条记录。"), [&] {
            rs = store::Database(m_facts.file).openTableWithRowids(m_facts.table, store::themeCondition(theme));
        }))
        return;
    unlockForEntry();
    m_adding = false; // a pick shows a record in place of the entry
    if (!rs.moveToRowid(wanted)) rs.moveFirst();
    if (rs.isEmpty()) {
        m_shown = store::RecordRef();
        return;
    }
    showRow(rs);
}

// Add and a pick make the inputs that start read-only editable; nothing locks them again.
void ThemeBook::unlockForEntry() {
    for (QWidget* w : m_form.columns) setLocked(w, false);
}

void ThemeBook::add() {
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    ui::setText(m_form.Combo1, QString());
    emptyBoxes();
    m_shown = store::RecordRef();
    unlockForEntry();
    m_form.Combo1->setFocus();
    m_adding = true;
}

// A new entry with at least one box typed in.
bool ThemeBook::hasUnsavedInput() const {
    if (!m_adding) return false;
    if (!m_form.Combo1->currentText().isEmpty()) return true;
    for (const QWidget* w : m_form.columns)
        if (!boxText(w).isEmpty()) return true;
    return false;
}

void ThemeBook::save() {
    // The theme first and the content last; between them the book's own required inputs.
    QVector<QPair<QString, QString>> checks{{m_form.Combo1->currentText(), QStringLiteral("请输入主题！")}};
    for (const Required& r : m_required) checks.append({boxText(r.input), r.message});
    checks.append({boxText(m_form.columns.last()), QStringLiteral("请输入内容！")});
    for (const auto& [text, message] : checks) {
        if (!text.isEmpty()) continue;
        ui::notify(this, message, ui::Warning);
        return;
    }
    // The optional inputs are written as "无" when empty.
    QStringList values{m_form.Combo1->currentText()};
    for (QWidget* w : m_form.columns) {
        const QString v = boxText(w);
        values << (v.isEmpty() ? kNone : v);
    }
    if (!attempt(QStringLiteral("内容没有保存。"),
                 [&] { store::Database(m_facts.file).insert(store::themeInsert(m_facts.table, values)); }))
        return;
    m_adding = false;
    ui::notify(this, QStringLiteral("内容已保存"), ui::Information);
    LoadThemeList();
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
}

void ThemeBook::remove() {
    const QString theme = m_form.Combo1->currentText();
    const bool deleted = attempt(
        QStringLiteral("没有删除。"),
        [&] {
            store::Database db(m_facts.file);
            // The record on screen alone, while it is as read; a typed theme removes every record
            // with that theme.
            if (m_shown.isValid() && theme == m_shown.values.value(0))
                store::deleteKeeping(db, store::themeDeleteRecord(m_facts.table, m_shown.condition()), true);
            else
                store::deleteKeeping(db, store::themeDeleteByTheme(m_facts.table, theme));
        },
        [this](const store::Error& e) {
            if (e.kind() == store::Error::Changed) reloadList();
        });
    if (!deleted) return;
    ui::notify(this, QStringLiteral("该记录已经删除"), ui::Information);
    reloadList();
}

// The list read again; on an empty table the boxes are emptied too.
void ThemeBook::reloadList() {
    LoadThemeList();
    if (m_form.Combo1->currentText() == kNoRecords) emptyBoxes();
}

// A record a search found: the list read again and that record picked from it.
bool ThemeBook::showRecord(const QString& table, qint64 rowid, const QStringList&) {
    if (table != m_facts.table) return false;
    LoadThemeList();
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
    const int index = m_form.Combo1->findData(rowid);
    if (index < 0) {
        ui::notify(this, QStringLiteral("该记录已经不在了！"), ui::Information);
        return false;
    }
    m_form.Combo1->setCurrentIndex(index);
    Combo1_Click(index);
    ui::setText(m_form.Combo1, m_form.Combo1->itemText(index));
    return true;
}
