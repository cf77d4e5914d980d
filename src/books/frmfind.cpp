#include "frmfind.h"

#include "ui_frmfind.h"

#include <store/database.h>
#include <ui/matchdelegate.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QThread>
#include <QThreadPool>
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
    // Activation is the double-click (or the single click, where the desktop is set so) and Enter.
    connect(m_form->lstfound, &QListWidget::itemActivated, this, &Frmfind::lstfound_DblClick);
}

// The pool's tasks of this window end within one slice of a table once nothing is wanted; they
// post to this window, so it waits for them.
Frmfind::~Frmfind() {
    m_shared->wanted = -1;
    while (m_shared->running > 0) QThread::msleep(2);
}

void Frmfind::showEvent(QShowEvent* e) {
    ui::ChildForm::showEvent(e);
    m_form->txtfind->setFocus();
    m_form->txtfind->selectAll();
}

// A new search replaces the one running: its tables stop at their next slice, and what they
// still send is dropped.
void Frmfind::txtfind_Change() {
    m_shared->wanted = ++m_search;
    m_text = m_form->txtfind->text().trimmed();
    m_marks->setPattern(m_text);
    m_form->lstfound->clear();
    m_count = 0;
    m_cut = false;
    m_tables = m_text.isEmpty() ? QVector<store::SearchedTable>() : store::searchedTables();
    m_listed = QVector<int>(m_tables.size(), 0);
    m_headings = QVector<QListWidgetItem*>(m_tables.size(), nullptr);
    m_pending = m_tables.size();
    for (int i = 0; i < m_tables.size(); ++i) searchTable(i);
    showStatus();
}

bool Frmfind::searching() const { return m_pending > 0; }

// Each table is searched in the thread pool (two at a time on two cores), the window answering
// meanwhile; its records are posted back slice by slice.
void Frmfind::searchTable(int index) {
    const std::shared_ptr<Shared> shared = m_shared;
    const int search = m_search;
    const store::SearchedTable where = m_tables[index];
    const QString text = m_text;
    ++shared->running;
    QThreadPool::globalInstance()->start([this, shared, search, where, text, index] {
        const auto post = [&](const std::function<void()>& f) {
            QMetaObject::invokeMethod(this, f, Qt::QueuedConnection);
        };
        bool cut = false;
        try {
            if (shared->wanted == search)
                cut = store::findRecords(
                    where, text, kLimit,
                    [&](const QVector<store::Found>& found) { post([=] { listFound(search, index, found); }); },
                    [&] { return shared->wanted != search; });
            post([=] { tableDone(search, index, cut); });
        } catch (const store::Error& e) {
            post([=] {
                if (search != m_search) return;
                attempt(QString("无法查找%1。").arg(where.table->title), [&] { throw e; });
                tableDone(search, index, false);
            });
        }
        --shared->running;
    });
}

// Records of a table, under its heading, the tables in catalogue order whatever order they end in.
void Frmfind::listFound(int search, int index, const QVector<store::Found>& found) {
    if (search != m_search) return;
    const store::SearchedTable& where = m_tables[index];
    int row = 0;
    for (int i = 0; i <= index; ++i) row += m_listed[i] + (m_headings[i] ? 1 : 0);
    if (!m_headings[index]) {
        auto* heading = new QListWidgetItem;
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = m_form->lstfound->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setBackground(QColor(230, 230, 230));
        m_form->lstfound->insertItem(row - m_listed[index], heading);
        m_headings[index] = heading;
        ++row;
    }
    for (const store::Found& f : found) {
        const QString caption = where.table->columns.value(f.column).caption;
        auto* item = new QListWidgetItem(
            QString("    %1　　%2：%3").arg(recordName(f), caption, ui::excerpt(f.values.value(f.column), m_text)));
        item->setData(TableRole, where.table->name);
        item->setData(RowidRole, f.rowid);
        item->setData(ValuesRole, f.values);
        item->setToolTip(QStringLiteral("双击打开%1").arg(where.table->title));
        m_form->lstfound->insertItem(row++, item);
    }
    m_listed[index] += found.size();
    m_count += found.size();
    m_headings[index]->setText(
        QString("%1（%2%3）").arg(where.table->title).arg(m_listed[index]).arg(where.table->unit));
    showStatus();
}

void Frmfind::tableDone(int search, int index, bool cut) {
    if (search != m_search) return;
    --m_pending;
    if (cut && m_headings[index]) {
        m_cut = true;
        const store::SearchedTable& where = m_tables[index];
        m_headings[index]->setText(
            QString("%1（前%2%3）").arg(where.table->title).arg(m_listed[index]).arg(where.table->unit));
    }
    showStatus();
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
