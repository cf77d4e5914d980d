#pragma once

#include "loginguard.h"

#include <store/recordset.h>

#include <QWidget>
#include <memory>

namespace Ui {
class frmLogin;
}
class frmmain;

// The login window: the program's first window. A name and password that match a row of the
// user table open the main window; a password equal to its name opens the password dialog over
// it. Failed attempts slow further ones down (LoginGuard). Its controls are those of frmlogin.ui.
class frmLogin : public QWidget {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);
    ~frmLogin() override;

    // True when a row of users holds exactly this name and password (a missing value never matches).
    static bool matches(const store::RecordSet& users, const QString& name, const QString& password);

    void cmdok_Click();
    void cmdcancel_Click();

signals:
    void mainWindowOpened(frmmain* main);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Ui::frmLogin> m_form;
    LoginGuard m_guard;
};
