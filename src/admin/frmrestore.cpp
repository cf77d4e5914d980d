#include "frmrestore.h"

#include "backups.h"

#include <store/catalogue.h>
#include <ui/notify.h>
#include <ui/twips.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

Frmrestore::Frmrestore(QWidget* parent, const QVector<store::Backup>& backups)
    : AnsweredDialog(parent), m_backups(backups) {
    setObjectName("Frmrestore");
    setWindowTitle(QStringLiteral("恢复数据"));
    resize(ui::twips(10500), ui::twips(7200));
    auto* layout = new QVBoxLayout(this);
    auto* Label1 =
        new QLabel(backups.isEmpty() ? QStringLiteral("没有找到备份。请单击“其他文件夹…”，找到存放备份的地方。")
                                     : QStringLiteral("请选择要恢复的备份（最新的在最前面）："),
                   this);
    Label1->setObjectName("Label1");
    layout->addWidget(Label1);

    lstbackups = new QTreeWidget(this);
    lstbackups->setObjectName("lstbackups");
    lstbackups->setHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("种类"), QStringLiteral("内容")});
    // One line per backup, its columns aligned; what it holds is read along the line (scrolled to
    // when it is longer than the list) or, line by line, in its tooltip.
    lstbackups->setRootIsDecorated(false);
    lstbackups->setWordWrap(false);
    lstbackups->setUniformRowHeights(true);
    lstbackups->setAllColumnsShowFocus(true);
    lstbackups->setTextElideMode(Qt::ElideNone);
    lstbackups->header()->setStretchLastSection(false);
    lstbackups->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const store::Backup& b : backups) {
        const QStringList held = admin::describeBackup(b);
        auto* item =
            new QTreeWidgetItem(lstbackups, {b.made.toString("yyyy-MM-dd HH:mm:ss"), b.label, held.join("；")});
        const QString tip = held.join('\n') + "\n" + QDir::toNativeSeparators(b.folder);
        for (int c = 0; c < 3; ++c) item->setToolTip(c, tip);
    }
    for (int c = 0; c < 3; ++c) lstbackups->resizeColumnToContents(c);
    layout->addWidget(lstbackups, 1);

    auto* Frame1 = new QGroupBox(QStringLiteral("恢复哪些记录本"), this);
    auto* books = new QVBoxLayout(Frame1);
    for (int i = 0; i < store::dataFiles().size(); ++i) {
        const QString file = store::dataFiles().at(i);
        auto* box = new QCheckBox(QString("%1（%2）").arg(store::bookTitle(file), QFileInfo(file).fileName()), Frame1);
        box->setObjectName(QString("chkbook_%1").arg(i));
        connect(box, &QCheckBox::toggled, this, &Frmrestore::update);
        books->addWidget(box);
        m_books << box;
    }
    layout->addWidget(Frame1);

    cmdok = addButtonRow(layout, {{"cmdfolder", QStringLiteral("其他文件夹…"), ChooseFolder}});
    connect(cmdok, &QPushButton::clicked, this, &Frmrestore::cmdok_Click);
    connect(lstbackups, &QTreeWidget::currentItemChanged, this, &Frmrestore::update);
    if (!backups.isEmpty()) choose(0);
    update();
}

// The restore is confirmed here: Cancel leaves the person in the list, with the choice made.
void Frmrestore::cmdok_Click() {
    const QStringList files = chosenFiles();
    if (files.isEmpty()) return;
    QStringList titles;
    for (const QString& f : files) titles << store::bookTitle(f);
    if (ui::notify(this,
                   QString("确定要用 %1 的备份恢复“%2”吗？\n这些记录本现有的记录将换成备份中的记录。"
                           "恢复之前会先备份现在的数据，需要时可以再恢复回来。")
                       .arg(m_backups.at(chosenBackup()).made.toString("yyyy-MM-dd HH:mm:ss"), titles.join("”、“")),
                   ui::OkCancel) == ui::kAnswerOk)
        accept();
}

int Frmrestore::chosenBackup() const {
    return lstbackups->currentItem() ? lstbackups->indexOfTopLevelItem(lstbackups->currentItem()) : -1;
}

void Frmrestore::choose(int i) { lstbackups->setCurrentItem(lstbackups->topLevelItem(i)); }

QStringList Frmrestore::chosenFiles() const {
    QStringList files;
    for (int i = 0; i < m_books.size(); ++i)
        if (m_books[i]->isEnabled() && m_books[i]->isChecked()) files << store::dataFiles().at(i);
    return files;
}

// Only the books the chosen backup holds whole can be ticked.
void Frmrestore::update() {
    const int chosen = chosenBackup();
    for (int i = 0; i < m_books.size(); ++i) {
        const store::BackupFile* f = chosen < 0 ? nullptr : m_backups.at(chosen).file(store::dataFiles().at(i));
        m_books[i]->setEnabled(f && f->usable);
    }
    cmdok->setEnabled(!chosenFiles().isEmpty());
}
