#include "frmimport.h"

#include <store/catalogue.h>
#include <ui/errortext.h>
#include <ui/twips.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString contents(const store::ImportBook& book) {
    if (!book.problems.isEmpty()) return book.problems.join('\n') + "\n这个文件中的记录都不会导入。";
    QStringList tables;
    for (const store::ImportTable& t : book.tables)
        tables << QString("%1：%2 条记录").arg(store::tableTitle(t.name)).arg(t.rows.size());
    return tables.join("，");
}

} // namespace

Frmimport::Frmimport(QWidget* parent, const QString& source, const QVector<store::ImportBook>& books)
    : AnsweredDialog(parent) {
    setObjectName("Frmimport");
    setWindowTitle(QStringLiteral("导入旧数据"));
    setMinimumWidth(ui::twips(9600));
    auto* layout = new QVBoxLayout(this);
    const QString shown = ui::shownPath(source);
    auto* Label1 = new QLabel(books.isEmpty() ? QString("在“%1”中没有找到数据文件（.dat）。").arg(shown)
                                              : QString("在“%1”中找到：").arg(shown),
                              this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    layout->addWidget(Label1);
    for (int i = 0; i < books.size(); ++i) {
        const store::ImportBook& b = books.at(i);
        auto* box = new QCheckBox(
            QString("%1（%2）").arg(b.title.isEmpty() ? QStringLiteral("无法识别的文件") : b.title, b.source), this);
        box->setObjectName(QString("chkbook_%1").arg(i));
        box->setChecked(b.importable());
        box->setEnabled(b.importable());
        connect(box, &QCheckBox::toggled, this, &Frmimport::updateOk);
        auto* what = new QLabel(contents(b), this);
        what->setObjectName(QString("labbook_%1").arg(i));
        what->setWordWrap(true);
        what->setIndent(24);
        if (!b.problems.isEmpty()) what->setStyleSheet("color: rgb(255, 0, 0)");
        layout->addWidget(box);
        layout->addWidget(what);
        m_books << box;
    }
    auto* Frame1 = new QGroupBox(QStringLiteral("导入方式"), this);
    auto* modes = new QVBoxLayout(Frame1);
    optadd = new QRadioButton(QStringLiteral("增加到现有的记录中"), Frame1);
    optadd->setObjectName("optadd");
    optadd->setChecked(true);
    optreplace = new QRadioButton(QStringLiteral("替换现有的记录（现有的记录将被删除）"), Frame1);
    optreplace->setObjectName("optreplace");
    auto* note = new QLabel(QStringLiteral("用户帐户和学校信息总是增加，不会替换：与已有帐户完全相同的帐户不重复导入，"
                                           "已有学校信息时保留现有的。"),
                            Frame1);
    note->setWordWrap(true);
    modes->addWidget(optadd);
    modes->addWidget(optreplace);
    modes->addWidget(note);
    layout->addWidget(Frame1);

    cmdok = addButtonRow(layout, {{"cmdfolder", QStringLiteral("其他文件夹…"), ChooseFolder},
                                  {"cmdfile", QStringLiteral("单个文件…"), ChooseFile}});
    connect(cmdok, &QPushButton::clicked, this, &Frmimport::cmdok_Click);
    updateOk();
}

QVector<int> Frmimport::chosen() const {
    QVector<int> out;
    for (int i = 0; i < m_books.size(); ++i)
        if (m_books.at(i)->isEnabled() && m_books.at(i)->isChecked()) out << i;
    return out;
}

store::ImportMode Frmimport::mode() const {
    return optreplace->isChecked() ? store::ImportMode::Replace : store::ImportMode::Add;
}

void Frmimport::cmdok_Click() {
    if (!chosen().isEmpty()) accept();
}

void Frmimport::updateOk() { cmdok->setEnabled(!chosen().isEmpty()); }
