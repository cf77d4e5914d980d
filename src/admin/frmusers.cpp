#include "frmusers.h"

#include "frmpassword.h"
#include "ui_frmusers.h"

#include <store/accounts.h>
#include <ui/errortext.h>
#include <ui/notify.h>

#include <QPushButton>

Frmusers::Frmusers(QWidget* parent, const QString& user)
    : AnsweredDialog(parent), m_form(new Ui::Frmusers), m_user(user) {
    m_form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(m_form->cmdadd, &QPushButton::clicked, this, &Frmusers::cmdadd_Click);
    connect(m_form->cmdreset, &QPushButton::clicked, this, &Frmusers::cmdreset_Click);
    connect(m_form->cmdremove, &QPushButton::clicked, this, &Frmusers::cmdremove_Click);
    connect(m_form->cmdclose, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load(user);
}

Frmusers::~Frmusers() = default;

void Frmusers::Form_Load(const QString& name) {
    QStringList names;
    ui::attempt(this, QStringLiteral("无法读取用户表。"), [&] { names = store::accountNames(); });
    m_form->lstusers->clear();
    m_form->lstusers->addItems(names);
    const int at = int(names.indexOf(name));
    m_form->lstusers->setCurrentRow(at >= 0 ? at : 0);
}

QString Frmusers::chosen() {
    if (QListWidgetItem* item = m_form->lstusers->currentItem()) return item->text();
    ui::notify(this, QStringLiteral("请先在“用户”列表中选择一个用户。"), ui::Warning);
    return QString();
}

void Frmusers::cmdadd_Click() {
    Frmpassword dialog(this, Frmpassword::Add, QString());
    if (dialog.run() == QDialog::Accepted) Form_Load(dialog.name());
}

void Frmusers::cmdreset_Click() {
    const QString name = chosen();
    if (name.isEmpty()) return;
    Frmpassword dialog(this, Frmpassword::Reset, name);
    dialog.run();
    Form_Load(name);
}

void Frmusers::cmdremove_Click() {
    const QString name = chosen();
    if (name.isEmpty()) return;
    if (name == m_user) {
        ui::notify(this, QStringLiteral("不能删除正在使用的用户“%1”。").arg(name), ui::Warning);
        return;
    }
    if (ui::notify(this, QStringLiteral("确实要删除用户“%1”吗？").arg(name), ui::OkCancel) != ui::kAnswerOk) return;
    using R = store::AccountResult;
    R result = R::Done;
    if (!ui::attempt(this, QStringLiteral("用户没有删除。"), [&] { result = store::removeAccount(name); })) return;
    if (result == R::LastAccount)
        ui::notify(this, QStringLiteral("“%1”是最后一个用户，不能删除。").arg(name), ui::Warning);
    else if (result == R::Missing)
        ui::notify(this, QStringLiteral("用户“%1”已不存在（可能已在另一处删除）。").arg(name), ui::Information);
    Form_Load();
}

namespace admin {
void usermanage_Click(QWidget* parent, const QString& user) {
    Frmusers dialog(parent, user);
    dialog.run();
}
} // namespace admin
