#include "frmlogin.h"

#include "frmmain.h"
#include "ui_frmlogin.h"

#include <store/catalogue.h>
#include <store/openings.h>
#include <ui/enterfocus.h>
#include <ui/fonts.h>
#include <ui/notify.h>
#include <ui/pictures.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

frmLogin::frmLogin(QWidget* parent) : QWidget(parent), form(new Ui::frmLogin) {
    // The form's buttons press on Enter only when focused (autoDefault, never from a text box: the
    // window is no dialog), and the password box shows each character as "*".
    form->setupUi(this);
    // What the form cannot say: the icon in all its sizes, the fractional sizes of the two captions.
    setWindowIcon(ui::appIcon());
    ui::setPointSize(14.25, {form->lblLabels_0, form->lblLabels_1});
    if (QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));

    ui::moveFocusOnEnter(form->txtUserName);
    ui::moveFocusOnEnter(form->txtPassword);
    connect(form->cmdok, &QPushButton::clicked, this, &frmLogin::cmdok_Click);
    connect(form->cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, form->cmdcancel, &QPushButton::click);
    form->txtUserName->setFocus();
}

frmLogin::~frmLogin() = default;

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
    if (!matches(users, form->txtUserName->text(), form->txtPassword->text())) {
        ui::notify(this, QStringLiteral("用户名或密码错误！"), ui::Warning);
        return;
    }
    auto* main = new frmmain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    // Un-maximised, the window lies on the screen with room for its frame: never its title bar above.
    if (QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry().adjusted(16, 48, -16, -16);
        main->setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, main->size().boundedTo(room.size()), room));
    }
    main->showMaximized();
    hide();
    deleteLater();
    emit mainWindowOpened(main);
}

void frmLogin::cmdcancel_Click() {
    hide();
    QCoreApplication::exit(0);
}
