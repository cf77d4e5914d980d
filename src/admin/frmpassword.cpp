#include "frmpassword.h"

#include "ui_frmpassword.h"

#include <store/accounts.h>
#include <ui/enterfocus.h>
#include <ui/errortext.h>
#include <ui/notify.h>

#include <QPushButton>

namespace {
constexpr int kMinPasswordLength = 6;
}

Frmpassword::Frmpassword(QWidget* parent, Mode mode, const QString& name, const QString& reason)
    : AnsweredDialog(parent), m_form(new Ui::Frmpassword), m_mode(mode) {
    m_form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    setWindowTitle(mode == Add     ? QStringLiteral("添加用户")
                   : mode == Reset ? QStringLiteral("重设密码")
                                   : QStringLiteral("修改密码"));
    m_form->lblreason->setText(reason.isEmpty()
                                   ? (mode == Add     ? QStringLiteral("新用户的名称和密码：")
                                      : mode == Reset ? QStringLiteral("为用户“%1”设置新密码：").arg(name)
                                                      : QStringLiteral("用户“%1”修改自己的密码：").arg(name))
                                   : reason);
    m_form->txtname->setText(name);
    m_form->txtname->setReadOnly(mode != Add);
    // The name box and the current-password box share their place: one of them shows.
    m_form->lblname->setVisible(mode != Change);
    m_form->txtname->setVisible(mode != Change);
    m_form->lblold->setVisible(mode == Change);
    m_form->txtold->setVisible(mode == Change);
    for (QLineEdit* box : {m_form->txtname, m_form->txtold, m_form->txtnew, m_form->txtnew2}) ui::moveFocusOnEnter(box);
    connect(m_form->cmdok, &QPushButton::clicked, this, &Frmpassword::cmdok_Click);
    connect(m_form->cmdcancel, &QPushButton::clicked, this, &QDialog::reject);
    (mode == Add ? m_form->txtname : mode == Change ? m_form->txtold : m_form->txtnew)->setFocus();
}

Frmpassword::~Frmpassword() = default;

QString Frmpassword::name() const { return m_form->txtname->text(); }

// Tells the person why the text of a box cannot be used; true when it cannot.
bool Frmpassword::refused(const QString& box, const QString& text) {
    using P = store::CredentialProblem;
    QString why;
    switch (store::credentialProblem(text)) {
    case P::Fine: return false;
    case P::Empty: why = QStringLiteral("“%1”不能为空。"); break;
    case P::TooLong:
        why = QStringLiteral("“%1”不能超过 ") + QString::number(store::kMaxCredentialLength) + " 个字符。";
        break;
    case P::Nul:
    case P::LoneSurrogate: why = QStringLiteral("“%1”中有不能保存的字符，请重新输入。"); break;
    }
    ui::notify(this, why.arg(box), ui::Warning);
    return true;
}

bool Frmpassword::newPasswordRefused(const QString& name) {
    const QString password = m_form->txtnew->text();
    if (refused(QStringLiteral("新密码"), password)) return true;
    QString why;
    if (password.size() < kMinPasswordLength)
        why = QStringLiteral("“新密码”至少要 %1 个字符。").arg(kMinPasswordLength);
    else if (password == name)
        why = QStringLiteral("“新密码”不能与用户名相同。");
    else if (m_form->txtnew2->text() != password)
        why = QStringLiteral("“确认新密码”与“新密码”不一致，请重新输入。");
    if (why.isEmpty()) return false;
    ui::notify(this, why, ui::Warning);
    return true;
}

void Frmpassword::cmdok_Click() {
    const QString name = m_form->txtname->text();
    if (m_mode == Add && refused(QStringLiteral("用户名"), name)) return;
    if (m_mode == Change && refused(QStringLiteral("原密码"), m_form->txtold->text())) return;
    if (newPasswordRefused(name)) return;
    using R = store::AccountResult;
    R result = R::Done;
    const QString password = m_form->txtnew->text();
    if (!ui::attempt(this, QStringLiteral("密码没有保存。"), [&] {
            switch (m_mode) {
            case Change: result = store::changePassword(name, m_form->txtold->text(), password); break;
            case Add: result = store::addAccount(name, password); break;
            case Reset: result = store::resetPassword(name, password); break;
            }
        }))
        return;
    switch (result) {
    case R::Done:
        ui::notify(this,
                   m_mode == Add ? QStringLiteral("用户“%1”已添加。").arg(name)
                                 : QStringLiteral("用户“%1”的密码已修改。").arg(name),
                   ui::Information);
        accept();
        return;
    case R::WrongPassword:
        ui::notify(this, QStringLiteral("“原密码”不正确，请重新输入。"), ui::Warning);
        m_form->txtold->selectAll();
        m_form->txtold->setFocus();
        return;
    case R::Exists:
        ui::notify(this, QStringLiteral("用户“%1”已经存在，请换一个用户名。").arg(name), ui::Warning);
        return;
    case R::Missing:
    case R::LastAccount:
        ui::notify(this, QStringLiteral("用户“%1”已不存在（可能已在另一处删除），密码没有保存。").arg(name),
                   ui::Warning);
        reject();
        return;
    }
}

namespace admin {

QString factoryPasswordReason() {
    return QStringLiteral("您的密码与用户名相同，任何人都能猜到。请现在设置一个新密码。");
}

void changepwd_Click(QWidget* parent, const QString& user, const QString& reason) {
    Frmpassword dialog(parent, Frmpassword::Change, user, reason);
    dialog.run();
}

} // namespace admin
