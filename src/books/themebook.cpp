#include "themebook.h"

#include <store/catalogue.h>
#include <store/database.h>
#include <store/statements.h>
#include <ui/controls.h>
#include <ui/fonts.h>
#include <ui/limitededit.h>
#include <ui/notify.h>
#include <ui/recordsetmodel.h>
#include <ui/toolbar.h>
#include <ui/twips.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

using ui::place;

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

QLabel* caption(QWidget* parent, const char* name, const QString& text, double left, double top, const QFont& f) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(f);
    ui::placeAt(l, left, top);
    l->adjustSize();
    return l;
}

} // namespace

ThemeBook::ThemeBook(const ThemeBookDesign& design, QWidget* parent) : ui::ChildForm(parent), m_design(design) {
    setObjectName(design.windowName);
    setWindowTitle(QString::fromUtf8(design.caption));
    resize(ui::twips(11880), ui::twips(8595));

    Frame1 = new QWidget(this);
    Frame1->setObjectName("Frame1");
    place(Frame1, design.frameLeft, 0, 11655, 7935);

    Label1_0 = caption(Frame1, "Label1_0", QString(), 3480, 240, ui::song(15));
    Label2 = caption(Frame1, "Label2", QStringLiteral("注意：为确保数据的真实，保存后便不可更改。"), 4200, 720,
                     ui::song(10.5));
    Label2->setStyleSheet("color: #0000ff;");
    Toolbar1 = ui::makeToolbar(
        Frame1, {{}, {"增加", "add"}, {}, {"保存", "save"}, {}, {"删除", "delete"}, {}, {"返回", "back"}},
        [this](int i) { Toolbar1_ButtonClick(i); });
    ui::placeToolbar(Toolbar1, 120, 600, 3735, 390);

    const QFont captionFont = ui::song(design.captionPoints);
    caption(Frame1, "Label1_11", QString::fromUtf8(design.themeCaption), design.themeCaptionLeft,
            design.themeCaptionTop, captionFont);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName("Combo1");
    ui::setUpCombo(Combo1);
    Combo1->setFont(ui::song(12));
    Combo1->setModel(m_themes = new ui::TextListModel(Combo1));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon); // never measures every theme
    if (auto* list = qobject_cast<QListView*>(Combo1->view())) list->setUniformItemSizes(true);
    place(Combo1, design.comboLeft, design.comboTop, design.comboWidth, design.comboHeight);
    connect(Combo1, qOverload<int>(&QComboBox::activated), this, &ThemeBook::Combo1_Click);
    // Only a pick from the list shows a record. Qt's combo box also "activates" the listed entry
    // that equals the typed text when typing ends (Enter, or the focus leaving it): after 增加
    // that would replace what the person typed by an old record.
    disconnect(Combo1->lineEdit(), &QLineEdit::editingFinished, Combo1, nullptr);

    for (const ThemeBookDesign::Box& b : design.boxes) {
        caption(Frame1, b.labelName, QString::fromUtf8(b.caption), b.captionLeft, b.captionTop, captionFont);
        QWidget* w;
        if (b.multiLine) {
            auto* t = new ui::LimitedTextEdit(Frame1, b.maxLength);
            t->setVerticalScrollBarPolicy(b.scroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            t->setTabChangesFocus(true);
            w = t;
        } else {
            auto* e = new QLineEdit(Frame1);
            if (b.maxLength) e->setMaxLength(b.maxLength);
            w = e;
        }
        w->setObjectName(b.name);
        w->setFont(ui::song(12));
        place(w, b.left, b.top, b.width, b.height);
        setLocked(w, b.lockedAtLoad);
        m_boxes << w;
    }
    QFont contentCaption = ui::song(14.25, false, true);
    caption(Frame1, "Label1_5", QStringLiteral("主要内容："), design.contentCaptionLeft, design.contentCaptionTop,
            contentCaption);
    auto* content = new ui::LimitedTextEdit(Frame1);
    content->setObjectName("txtcontent");
    content->setFont(ui::song(12));
    content->setTabChangesFocus(true);
    content->setLocked(true);
    place(content, design.contentLeft, design.contentTop, design.contentWidth, design.contentHeight);
    m_boxes << content;

    for (int i = 0; i + 1 < design.tabOrder.size(); ++i) {
        auto* a = Frame1->findChild<QWidget*>(design.tabOrder[i]);
        auto* b = Frame1->findChild<QWidget*>(design.tabOrder[i + 1]);
        if (a && b) setTabOrder(a, b);
    }
    Form_Load();
}

QWidget* ThemeBook::input(const char* name) const { return Frame1->findChild<QWidget*>(name); }

QString ThemeBook::textOf(const char* name) const {
    if (qstrcmp(name, "Combo1") == 0) return Combo1->currentText();
    return boxText(input(name));
}

void ThemeBook::Form_Load() {
    const QString school = schoolName();
    Label1_0->setText(school + QString::fromUtf8(m_design.titleSuffix));
    Label1_0->adjustSize();
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
            store::Database db(QString::fromUtf8(m_design.file));
            // The list needs the themes alone, in table order; the boxes need the first row whole.
            const store::RecordSet list =
                db.openRecordset(QString("select rowid, theme from %1").arg(m_design.table));
            themes.reserve(list.recordCount());
            rowids.reserve(list.recordCount());
            for (const QStringList& row : list.rows()) {
                rowids << row.value(0).toLongLong();
                themes << row.value(1);
            }
            if (!themes.isEmpty())
                first = db.openTableWithRowids(m_design.table, "rowid=" + QString::number(rowids.first()));
        },
        [&](const store::Error&) { themes.clear(); });
    m_shown = store::RecordRef();
    if (themes.isEmpty()) {
        m_themes->setItems({});
        Combo1->setStyleSheet("QComboBox { color: #ff0000; }");
        ui::setText(Combo1, kNoRecords);
        return;
    }
    first.moveFirst();
    showRow(first);
    const QString firstTheme = themes.first();
    m_themes->setItems(std::move(themes), std::move(rowids));
    ui::setText(Combo1, firstTheme);
}

void ThemeBook::showRow(const store::RecordSet& rs) {
    for (int i = 0; i < m_boxes.size(); ++i) setBoxText(m_boxes[i], rs.fields(i + 1));
    m_shown = rs.current();
}

void ThemeBook::emptyBoxes() {
    for (QWidget* w : m_boxes) setBoxText(w, QString());
}

void ThemeBook::Form_Resize() {
    const double sw = ui::toTwips(width()), sh = ui::toTwips(height());
    Frame1->resize(ui::twips(qMax(0.0, sw - 150)), ui::twips(qMax(0.0, sh - 100)));
    Label1_0->move((Frame1->width() - Label1_0->width()) / 2, Label1_0->y());
    m_boxes.last()->resize(ui::twips(qMax(0.0, sw - 1150)), ui::twips(qMax(0.0, sh - m_design.contentHeightMargin)));
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
    const QString theme = Combo1->itemText(index);
    const qint64 wanted = Combo1->itemData(index).toLongLong();
    store::RecordSet rs;
    if (!attempt(QStringLiteral("无法读取这条记录。"), [&] {
            rs = store::Database(QString::fromUtf8(m_design.file))
                     .openTableWithRowids(m_design.table, store::themeCondition(theme));
        }))
        return;
    unlockForEntry();
    rs.moveFirst();
    for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext())
        if (rs.rowid() == wanted) break;
    if (rs.eof()) rs.moveFirst();
    if (rs.isEmpty()) {
        m_shown = store::RecordRef();
        return;
    }
    showRow(rs);
}

// Add and a pick make the boxes that start read-only, and the content, editable.
void ThemeBook::unlockForEntry() {
    for (const ThemeBookDesign::Box& b : m_design.boxes)
        if (b.unlockedByAddOrPick) setLocked(input(b.name), false);
    setLocked(m_boxes.last(), false);
}

void ThemeBook::add() {
    ui::toolButton(Toolbar1, Save)->setEnabled(true);
    ui::setText(Combo1, QString());
    emptyBoxes();
    m_shown = store::RecordRef();
    unlockForEntry();
    Combo1->setFocus();
}

void ThemeBook::save() {
    for (const char* name : m_design.requiredOrder) {
        if (!textOf(name).isEmpty()) continue;
        QString message = QStringLiteral("请输入内容！");
        if (qstrcmp(name, "Combo1") == 0) message = QStringLiteral("请输入主题！");
        for (const ThemeBookDesign::Box& b : m_design.boxes)
            if (qstrcmp(b.name, name) == 0) message = QString::fromUtf8(b.required);
        ui::notify(this, message, ui::Warning);
        return;
    }
    QStringList values{Combo1->currentText()};
    for (int i = 0; i < m_design.boxes.size(); ++i) {
        const QString v = boxText(m_boxes[i]);
        values << (v.isEmpty() && !m_design.boxes[i].required ? kNone : v);
    }
    values << boxText(m_boxes.last());
    if (!attempt(QStringLiteral("内容没有保存。"),
                 [&] { store::Database(QString::fromUtf8(m_design.file)).insert(store::themeInsert(m_design.table, values)); }))
        return;
    ui::notify(this, QStringLiteral("内容已保存"), ui::Information);
    LoadThemeList();
    ui::toolButton(Toolbar1, Save)->setEnabled(false);
}

void ThemeBook::remove() {
    const QString theme = Combo1->currentText();
    const bool deleted = attempt(
        QStringLiteral("没有删除。"),
        [&] {
            store::Database db(QString::fromUtf8(m_design.file));
            // The record on screen alone, while it is as read; a typed theme removes every record
            // with that theme.
            if (m_shown.isValid() && theme == m_shown.values.value(0))
                db.executeOnRecord(store::themeDeleteRecord(m_design.table, m_shown.condition()));
            else
                db.execute(store::themeDeleteByTheme(m_design.table, theme));
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
    if (Combo1->currentText() == kNoRecords) emptyBoxes();
}
