#include "frmrecycle.h"

#include "ui_frmrecycle.h"

#include <store/catalogue.h>
#include <ui/notify.h>

#include <QHeaderView>
#include <QItemSelectionModel>

namespace {

QString tableTitle(const QString& table) {
    const store::Table* t = store::findTable(table);
    return t ? t->title : table;
}

// Each value of a record with its caption, one a line; a NULL shows as empty.
QString describeRecord(const store::RecycledRecord& r) {
    QStringList lines;
    if (const store::Table* t = store::findTable(r.table))
        for (int i = 0; i < t->columns.size(); ++i) lines << t->columns[i].caption + "：" + r.values.value(i);
    return lines.join('\n');
}

} // namespace

Frmrecycle::Frmrecycle(QWidget* parent) : AnsweredDialog(parent), m_form(new Ui::Frmrecycle) {
    m_form->setupUi(this);
    m_form->lstrecycle->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(m_form->cmdrestore, &QPushButton::clicked, this, &Frmrecycle::cmdrestore_Click);
    connect(m_form->cmdpurge, &QPushButton::clicked, this, &Frmrecycle::cmdpurge_Click);
    connect(m_form->cmdclose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_form->lstrecycle->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Frmrecycle::lstrecycle_SelectionChanged);
    reload();
}

Frmrecycle::~Frmrecycle() = default;

void Frmrecycle::reload() {
    m_records.clear();
    ui::attempt(this, QStringLiteral("无法读取回收站。"), [&] { m_records = store::recycledRecords(); });
    m_form->lstrecycle->clear();
    for (const store::RecycledRecord& r : m_records)
        new QTreeWidgetItem(m_form->lstrecycle, {tableTitle(r.table), r.deletedAt, r.values.value(0)});
    m_form->lstrecycle->resizeColumnToContents(0);
    m_form->lstrecycle->resizeColumnToContents(1);
    lstrecycle_SelectionChanged();
}

void Frmrecycle::choose(const QVector<int>& rows) {
    m_form->lstrecycle->clearSelection();
    for (int row : rows)
        if (QTreeWidgetItem* item = m_form->lstrecycle->topLevelItem(row)) item->setSelected(true);
}

QVector<qint64> Frmrecycle::chosenIds() const {
    QVector<qint64> ids;
    for (int i = 0; i < m_form->lstrecycle->topLevelItemCount(); ++i)
        if (m_form->lstrecycle->topLevelItem(i)->isSelected()) ids << m_records.value(i).id;
    return ids;
}

// The values of the one record chosen; the buttons only while something is chosen.
void Frmrecycle::lstrecycle_SelectionChanged() {
    QVector<int> rows;
    for (int i = 0; i < m_form->lstrecycle->topLevelItemCount(); ++i)
        if (m_form->lstrecycle->topLevelItem(i)->isSelected()) rows << i;
    m_form->txtdetail->setPlainText(rows.size() == 1 ? describeRecord(m_records.value(rows.first()))
                                    : rows.isEmpty() ? QString()
                                                     : QString("已选择 %1 条记录。").arg(rows.size()));
    m_form->cmdrestore->setEnabled(!rows.isEmpty());
    m_form->cmdpurge->setEnabled(!rows.isEmpty());
}

void Frmrecycle::cmdrestore_Click() {
    const QVector<qint64> ids = chosenIds();
    if (ids.isEmpty()) return;
    QMap<QString, int> restored;
    const bool done = ui::attempt(this, QStringLiteral("没有恢复。"), [&] { restored = store::restoreRecycled(ids); });
    if (!restored.isEmpty()) m_restored = true;
    if (done) {
        QStringList where;
        for (const store::Book& b : store::books())
            for (const store::Table& t : b.tables)
                if (restored.value(t.name))
                    where << QString("%1 %2 条（%3）").arg(t.title).arg(restored.value(t.name)).arg(b.file);
        ui::notify(this, QStringLiteral("记录已经恢复到：") + where.join("，"), ui::Information);
    }
    reload();
}

void Frmrecycle::cmdpurge_Click() {
    const QVector<qint64> ids = chosenIds();
    if (ids.isEmpty()) return;
    if (ui::notify(this, QString("确定要彻底删除选中的 %1 条记录吗？彻底删除后将不能恢复！").arg(ids.size()),
                   ui::OkCancel | ui::DefaultCancel) != ui::kAnswerOk)
        return;
    ui::attempt(this, QStringLiteral("没有删除。"), [&] { store::purgeRecycled(ids); });
    reload();
}

namespace admin {

bool recyclebin_Click(QWidget* parent) {
    Frmrecycle dialog(parent);
    dialog.run();
    return dialog.restoredAny();
}

} // namespace admin
