#include "frmfind.h"

#include "ui_frmfind.h"

#include <ui/matchdelegate.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace {

// How long typing may pause before the search starts.
constexpr int kPauseMs = 300;

// What names a record in the list: its first column, and the teacher of an attendance entry.
QString recordName(const store::Found& f) {
    QString name = f.values.value(0).simplified();
    if (f.table->name == QLatin1String("tabkaoqin")) name += QStringLiteral(" ") + f.values.value(2);
    return name;
}

} // namespace

Frmfind::Frmfind(QWidget* parent) : ui::ChildForm(parent), m_form(new Ui::Frmfind) {
    m_form->setupUi(this);
    m_marks = new ui::MatchDelegate(m_form->lstfound);
    m_form->lstfound->setItemDelegate(m_marks);
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &Frmfind::txtfind_Change);
    connect(m_form->txtfind, &QLineEdit::textEdited, m_pause, qOverload<>(&QTimer::start));
    connect(m_form->txtfind, &QLineEdit::returnPressed, this, [this] {
        m_pause->stop();
        txtfind_Change();
    });
    connect(m_form->lstfound, &QListWidget::itemDoubleClicked, this, &Frmfind::lstfound_DblClick);
    connect(m_form->lstfound, &QListWidget::itemActivated, this, &Frmfind::lstfound_DblClick);
}

Frmfind::~Frmfind() = default;

void Frmfind::showEvent(QShowEvent* e) {
    ui::ChildForm::showEvent(e);
    m_form->txtfind->setFocus();
    m_form->txtfind->selectAll();
}

// A new search replaces the one running: its remaining books are not searched.
void Frmfind::txtfind_Change() {
    ++m_search;
    m_text = m_form->txtfind->text().trimmed();
    m_marks->setPattern(m_text);
    m_form->lstfound->clear();
    m_count = 0;
    m_cut = false;
    m_queue = m_text.isEmpty() ? QVector<store::SearchedTable>() : store::searchedTables();
    showStatus();
    if (!m_queue.isEmpty())
        QTimer::singleShot(0, this, [this, search = m_search] {
            if (search == m_search) searchNext();
        });
}

bool Frmfind::searching() const { return !m_queue.isEmpty(); }

// One book at a time, its results appended, the window answering between books.
void Frmfind::searchNext() {
    if (m_queue.isEmpty()) return;
    const store::SearchedTable where = m_queue.takeFirst();
    QVector<store::Found> found;
    attempt(QString("无法查找%1。").arg(where.table->title),
            [&] { found = store::findRecords(where, m_text, kLimit + 1); });
    if (!found.isEmpty()) {
        const bool cut = found.size() > kLimit;
        if (cut) found.resize(kLimit);
        m_cut = m_cut || cut;
        auto* heading = new QListWidgetItem(QString("%1（%2%3%4）")
                                                .arg(where.table->title, cut ? QStringLiteral("前") : QString())
                                                .arg(found.size())
                                                .arg(where.table->unit));
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = m_form->lstfound->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setBackground(QColor(230, 230, 230));
        m_form->lstfound->addItem(heading);
        for (const store::Found& f : found) {
            const QString caption = where.table->columns.value(f.column).caption;
            auto* item = new QListWidgetItem(
                QString("    %1　　%2：%3").arg(recordName(f), caption, ui::excerpt(f.values.value(f.column), m_text)));
            item->setData(TableRole, where.table->name);
            item->setData(RowidRole, f.rowid);
            item->setData(ValuesRole, f.values);
            item->setToolTip(QStringLiteral("双击打开%1").arg(where.table->title));
            m_form->lstfound->addItem(item);
        }
        m_count += found.size();
    }
    showStatus();
    if (!m_queue.isEmpty())
        QTimer::singleShot(0, this, [this, search = m_search] {
            if (search == m_search) searchNext();
        });
}

void Frmfind::showStatus() {
    QString text;
    if (m_text.isEmpty())
        text = QStringLiteral("输入要查找的文字；双击一条结果打开它所在的窗口。");
    else if (searching())
        text = QStringLiteral("正在查找“%1”… 已找到%2条").arg(m_text).arg(m_count);
    else if (m_count == 0)
        text = QStringLiteral("没有找到含有“%1”的记录。").arg(m_text);
    else
        text = QStringLiteral("共找到%1条含有“%2”的记录%3；双击一条打开它。")
                   .arg(m_count)
                   .arg(m_text,
                        m_cut ? QStringLiteral("（记录太多的只列出前%1条，请输入更多文字）").arg(kLimit) : QString());
    m_form->Label2->setText(text);
}

void Frmfind::lstfound_DblClick(QListWidgetItem* item) {
    if (!item || item->data(TableRole).toString().isEmpty()) return;
    emit recordChosen(item->data(TableRole).toString(), item->data(RowidRole).toLongLong(),
                      item->data(ValuesRole).toStringList());
}
