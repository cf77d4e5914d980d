#include "frmlogin.h"

#include "frmmain.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <ui/enterfocus.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/pictures.h>
#include <ui/twips.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

using ui::place;

frmLogin::frmLogin(QWidget* parent) : QWidget(parent) {
    setObjectName("frmLogin");
    setWindowTitle(QStringLiteral("欢迎使用Lumno校务管理软件"));
    setWindowIcon(ui::appIcon());
    setFixedSize(ui::twips(5430), ui::twips(2280));
    if (QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));

    Label1 = new QLabel(QStringLiteral("欢迎使用Lumno校务管理软件"), this);
    Label1->setObjectName("Label1");
    Label1->setFont(ui::designFont(QStringLiteral("华文行楷"), 18));
    Label1->setStyleSheet("color: #12307a;");
    place(Label1, 480, 120, 4470, 375);

    lblLabels_0 = new QLabel(QStringLiteral("用户名："), this);
    lblLabels_0->setObjectName("lblLabels_0");
    lblLabels_0->setFont(ui::song(14.25, true));
    place(lblLabels_0, 720, 720, 1215, 285);

    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName("txtUserName");
    txtUserName->setFont(ui::song(12, true));
    place(txtUserName, 2130, 705, 2325, 345);

    lblLabels_1 = new QLabel(QStringLiteral("密　码："), this);
    lblLabels_1->setObjectName("lblLabels_1");
    lblLabels_1->setFont(ui::song(14.25, true));
    place(lblLabels_1, 705, 1110, 1215, 285);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setFont(ui::song(12, true));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet("QLineEdit { lineedit-password-character: 42; }"); // each character as "*"
    place(txtPassword, 2130, 1095, 2325, 345);

    cmdok = new QPushButton(QStringLiteral("登　录"), this);
    cmdok->setObjectName("cmdok");
    cmdok->setFont(ui::song(12, true));
    cmdok->setAutoDefault(true); // Enter on the focused button presses it, never from a text box
    place(cmdok, 840, 1560, 1140, 390);

    cmdcancel = new QPushButton(QStringLiteral("退　出"), this);
    cmdcancel->setObjectName("cmdcancel");
    cmdcancel->setFont(ui::song(12, true));
    cmdcancel->setAutoDefault(true);
    place(cmdcancel, 3180, 1590, 1140, 390);

    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, cmdok);
    setTabOrder(cmdok, cmdcancel);
    ui::moveFocusOnEnter(txtUserName);
    ui::moveFocusOnEnter(txtPassword);

    connect(cmdok, &QPushButton::clicked, this, &frmLogin::cmdok_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdcancel, &QPushButton::click);
    txtUserName->setFocus();
}

void frmLogin::paintEvent(QPaintEvent*) {
    QPainter p(this);
    static const QPixmap background = ui::picture(QStringLiteral("login.png"));
    p.drawPixmap(0, 0, background);
}

bool frmLogin::matches(const store::RecordSet& users, const QString& name, const QString& password) {
    for (const QStringList& row : users.rows()) {
        if (row.size() < 2 || row.at(0).isNull() || row.at(1).isNull()) continue;
        if (row.at(0) == name && row.at(1) == password) return true;
    }
    return false;
}

void frmLogin::cmdok_Click() {
    store::RecordSet users;
    if (!ui::attempt(this, QStringLiteral("无法读取用户表，不能登录。"), [&] { users = store::OpenUserTable(); }))
        return;
    if (!matches(users, txtUserName->text(), txtPassword->text())) {
        ui::notify(this, QStringLiteral("用户名或密码错误！"), ui::Warning);
        return;
    }
    auto* main = new frmmain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    if (QScreen* screen = this->screen()) main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    hide();
    deleteLater();
    emit mainWindowOpened(main);
}

void frmLogin::cmdcancel_Click() {
    hide();
    QCoreApplication::exit(0);
}
