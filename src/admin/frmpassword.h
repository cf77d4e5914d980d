#pragma once

#include <ui/answereddialog.h>

#include <memory>

namespace Ui {
class Frmpassword;
}

// A password asked for twice: the person's own (修改密码: the current one first), a new account's
// (name and password), or another account's reset. It writes the change itself and stays open
// while a box is refused. Its controls are those of frmpassword.ui.
class Frmpassword : public ui::AnsweredDialog<Frmpassword> {
    Q_OBJECT
public:
    enum Mode { Change, Add, Reset };
    // name: the account (Change, Reset); reason: a line above the boxes saying why it is asked.
    Frmpassword(QWidget* parent, Mode mode, const QString& name, const QString& reason = QString());
    ~Frmpassword() override;

    Mode mode() const { return m_mode; }
    // The account named in the dialog (the one added, when Add was accepted).
    QString name() const;

    void cmdok_Click();

private:
    bool refused(const QString& box, const QString& text);
    bool newPasswordRefused(const QString& name);

    std::unique_ptr<Ui::Frmpassword> m_form;
    Mode m_mode;
};

namespace admin {

// "修改密码…": the dialog for the account logged in; reason, when given, says why it opened by itself.
void changepwd_Click(QWidget* parent, const QString& user, const QString& reason = QString());

// The line the dialog shows when a login used a password equal to its name.
QString factoryPasswordReason();

} // namespace admin
