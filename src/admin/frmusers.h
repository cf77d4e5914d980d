#pragma once

#include <ui/answereddialog.h>

#include <memory>

namespace Ui {
class Frmusers;
}

// The accounts that may log in, by name (never a password): add one, reset another's password,
// remove one (never the account logged in, never the last). Its controls are those of frmusers.ui.
class Frmusers : public ui::AnsweredDialog<Frmusers> {
    Q_OBJECT
public:
    // user: the account logged in.
    Frmusers(QWidget* parent, const QString& user);
    ~Frmusers() override;

    void cmdadd_Click();
    void cmdreset_Click();
    void cmdremove_Click();

private:
    // Reads the names again; selects name where it is listed.
    void Form_Load(const QString& name = QString());
    // The selected name, or empty after saying that one must be chosen.
    QString chosen();

    std::unique_ptr<Ui::Frmusers> m_form;
    QString m_user;
};

namespace admin {
// "用户管理…".
void usermanage_Click(QWidget* parent, const QString& user);
} // namespace admin
